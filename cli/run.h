#pragma once

namespace tevrin {

// The whole run: banner, argument check, every file through every pass, closing line.
// Returns the exit status, 0 or -1.
int run(int argc, char* argv[]);

} // namespace tevrin
