#include "cli/console_entry_writer.h"

#include <cinttypes>
#include <cstdio>

#include "cli/report_texts.h"

namespace tevrin {

void ConsoleEntryWriter::write(const PatchEntry& entry)
{
    if (entry.length == 1)
        std::printf("%" PRIX64 "=%02X,", entry.romOffset, entry.bytes[0]);
    else
        std::printf("%" PRIX64 "=%02X%02X,", entry.romOffset, entry.bytes[0], entry.bytes[1]);
}

void ConsoleEntryWriter::endOfFile()
{
    std::fputs(text::kEndOfFile, stdout);
}

} // namespace tevrin
