#pragma once
// The program entry: the application titled "ZEKO", the main-thread hand-over and
// the notifier bound to Qt, the forms that live from start to exit (the main
// window, the progress box, the measurement choice), then the event loop.
namespace zeko {

int RunProgram(int argc, char** argv);

} // namespace zeko
