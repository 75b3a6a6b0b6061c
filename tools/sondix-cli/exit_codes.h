// The exit statuses of sondix-cli: each says what failed. --help lists them (kExitCodesHelp).
#pragma once

namespace sondix::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFile = 1;      // a file could not be read or written
inline constexpr int kExitUsage = 2;     // bad arguments
inline constexpr int kExitPort = 3;      // the port could not be opened, or was lost
inline constexpr int kExitNoAnswer = 4;  // the sensor did not answer in time
inline constexpr int kExitFraming = 5;   // the answer was broken (framing error)
inline constexpr int kExitRefused = 6;   // the sensor refused a value, or read back another
inline constexpr int kExitVariant = 7;   // a settings file of the other sensor variant
inline constexpr int kExitDiffers = 8;   // diff: the sensor's settings differ from the file

inline constexpr const char* kExitCodesHelp =
    "The live commands' exit status: 0 done; 1 a file could not be read or written; 2 bad\n"
    "  arguments; 3 the port could not be opened or was lost; 4 no answer from the sensor;\n"
    "  5 framing error (a broken answer); 6 refused value (the sensor refused it or read back\n"
    "  another); 7 settings file of the other sensor variant (restore without --force);\n"
    "  8 diff found differences.";

}  // namespace sondix::cli
