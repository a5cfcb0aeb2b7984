// Another program's full-screen window, played by the test process: a black
// window over the primary screen, in front of every other and brought to the
// foreground. It lives on a thread of its own that reads its messages, so
// that a program under test may send it messages (activation, the window
// order) across processes without waiting for ever.
#pragma once

#include <windows.h>

class FullScreenProgram {
  public:
    // Opens the window and waits until it is in front; Window() is null when
    // it could not be made.
    FullScreenProgram();
    // Closes the window and ends its thread.
    ~FullScreenProgram();
    FullScreenProgram(const FullScreenProgram&) = delete;
    FullScreenProgram& operator=(const FullScreenProgram&) = delete;

    HWND Window() const { return window; }

  private:
    static DWORD WINAPI Run(void* self);

    HANDLE ready = nullptr;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
    HWND window = nullptr;
};
