// Every pause of the program in one place.
//
// The sensor's host tools counted waits in passes of event processing (60000 after a command,
// 100000 at start-up, 30000/100000/300000 while sending a text file). Sondix turns a pass into a
// fixed time, so that the waits keep their ratios and no longer depend on the machine's speed;
// received data is still parsed during every pause because the event loop keeps running.
#pragma once

namespace Gen::Pauses {

inline constexpr double kSecondsPerPass = 2e-6;
constexpr double Passes(double n) { return n * kSecondsPerPass; }

inline constexpr double kAfterCommand = Passes(60000);   // send_cmd, send_s_cmd: 0.12 s
inline constexpr double kStartup = Passes(100000);       // twice at start-up, around "E"
inline constexpr double kTextChar = Passes(30000);       // after each character of a text file
inline constexpr double kTextBlank = Passes(100000);     // a blank in a text file (not sent)
inline constexpr double kTextOther = Passes(300000);     // another control character (not sent)
inline constexpr double kShowUnitValues = Passes(30000); // before the configuration screen fills
inline constexpr double kAlwaysCaptions = Passes(10000); // after the relay captions change

inline constexpr double kBeforeValue = 1.0;     // between "s" (or "c") and what follows it
inline constexpr double kRefresh = 2.0;         // for the parameter listing after "P"
inline constexpr double kDrainFirst = 3.0;      // output buffer drain at shutdown
inline constexpr double kDrainRetry = 10.0;     // ... after Retry
inline constexpr double kDrainSlice = 0.05;     // one look at the output buffer while draining
inline constexpr double kCalibration = 10.0;    // calibration from the configuration screen
inline constexpr int kConnectTickMs = 1000;     // connect-time display
inline constexpr int kStatusResetMs = 2000;     // status panel back to "Status: "
inline constexpr int kReconnectLookMs = 1000;   // a lost device looked for again

}  // namespace Gen::Pauses
