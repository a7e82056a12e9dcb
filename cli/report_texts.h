#pragma once

// Every text of the report, exactly as it is printed. Several have no final
// line break on purpose: what follows runs on after them on the same line.
namespace tevrin::text {

inline constexpr char kBannerTop[] = "\n----------------------------------------------------";
inline constexpr char kBannerTitle[] = "\nOrvane Auto Patcher v4\n\tby Quillmoor\n";
inline constexpr char kBannerBottom[] = "----------------------------------------------------\n";

inline constexpr char kUsage[] = "\nUSAGE: tevrin <fixRange> <hackRange> <file1.smc> <file2.smc> ...";
inline constexpr char kUsageRanges[] = "\n\tfixRange and hackRange refer to how many bytes from access of";
inline constexpr char kUsageAdvice[] = "\n\tthe SPC/VBLANK the algorithm should search, I recommend 16 and 40.";
inline constexpr char kNoFiles[] = "No filename(s) specified!\n\n";

inline constexpr char kWindowSizes[] = "\tfixRange = %d bytes, hackRange = %d bytes.";
inline constexpr char kFileNotFound[] = "File not found: %s ";
inline constexpr char kFixesTitle[] = "\n\nFixes for %s:\n";
inline constexpr char kSpeedHacksTitle[] = "\n\nSpeed Hacks for %s:\n";
inline constexpr char kEndOfFile[] = "\nEnd of file.\n";
inline constexpr char kScanFault[] = "\n\nError, exiting...\n\n";
inline constexpr char kFinished[] = "\n\nTool finished successfuly.\n\n";

// The one text for standard error, when the report itself cannot be written.
inline constexpr char kReportNotWritten[] = "tevrin: the report could not be written to standard output\n";

} // namespace tevrin::text
