; wait_loops.s: a small LoROM program, in the copier layout, holding the two
; kinds of busy-wait loop that tevrin patches: handshakes with the sound CPU
; through its ports $2140-$2143, and waits on the vertical-blank flag $4210.
;
; Rebuild wait_loops.smc (needs Debian's cc65 package):
;   ca65 --cpu 65816 -o wait_loops.o wait_loops.s && ld65 -C wait_loops.cfg -o wait_loops.smc wait_loops.o

.p816
.smart -

INIDISP = $2100         ; screen brightness
APUIO0  = $2140         ; sound CPU ports 0 to 3
APUIO1  = $2141
APUIO2  = $2142
RDNMI   = $4210         ; bit 7: a vertical blank began since the last read

Ticks   = $0300         ; frames counted by FadeIn

.segment "COPIER"
        .res 512, $00   ; the copier header: never scanned

.segment "CODE"
Reset:
        sei
        clc
        xce             ; native mode
        rep #$10        ; 16-bit X and Y
        .i16
        sep #$20        ; 8-bit A
        .a8
        ldx #$1FFF
        txs

; The sound CPU's boot ROM says it is ready with $AA on port 0 and $BB on port 1.
WaitForSpc:
        lda APUIO0
        cmp #$AA
        bne WaitForSpc
        lda APUIO1
        cmp #$BB
        bne WaitForSpc

; Start a transfer: write $CC and wait for the sound CPU to echo it.
        lda #$CC
        sta APUIO0
@echo:  cmp APUIO0
        bne @echo

; Port 2 holds a pending sound command unless it reads zero.
        lda APUIO2
        beq FadeIn
        stz APUIO2

; Count vertical blanks in Ticks, one brightness step each, up to full brightness.
FadeIn:
        lda RDNMI
        asl a           ; the flag into carry
        lda Ticks
        adc #$00
        sta Ticks
        sta INIDISP
        cmp #$0F
        bne FadeIn

; One frame of nothing, forever.
MainLoop:
@vblank:
        lda RDNMI
        bpl @vblank
        jmp MainLoop

EmptyHandler:
        rti

.segment "SNESHEADER"
        .byte "TEVRIN WAIT LOOPS    "  ; title, 21 bytes
        .byte $20                      ; LoROM
        .byte $00                      ; ROM only
        .byte $05                      ; 32 KiB
        .byte $00                      ; no SRAM
        .byte $01, $00, $00            ; region, maker, version
        .word $FFFF, $0000             ; checksum complement, checksum (unchecked)

.segment "VECTORS"
        ; native mode: unused, unused, COP, BRK, ABORT, NMI, unused, IRQ
        .word 0, 0, EmptyHandler, EmptyHandler, EmptyHandler, EmptyHandler, 0, EmptyHandler
        ; emulation mode: unused, unused, COP, unused, ABORT, NMI, RESET, IRQ/BRK
        .word 0, 0, EmptyHandler, 0, EmptyHandler, EmptyHandler, Reset, EmptyHandler
