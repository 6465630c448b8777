// Windows system services that are loaded or started at their first use
// rather than at start-up, so that a run that never needs them does not pay
// for them. The same code in 32-bit and 64-bit programs: a DLL is loaded by
// name and a function found by its undecorated name.
#pragma once

// --- DLLs loaded at first use ---

// The function name of the system DLL dll, loading the DLL at the first
// call; null when either cannot be found.
void* SystemFunction(const char* dll, const char* name);

// The same, but a missing DLL or function ends the tool with a fatal error.
void* XSystemFunction(const char* dll, const char* name);

// XSystemFunction, typed: XSystemFunctionAs<decltype(&GetOpenFileNameA)>(...).
template <typename Function>
Function XSystemFunctionAs(const char* dll, const char* name) {
  return reinterpret_cast<Function>(XSystemFunction(dll, name));
}

// --- The shell ---

// Initialises COM on this thread, apartment-threaded, the first time it is
// called: the folder dialog requires it, and the shell's execute calls and
// the file dialog may hand work to COM-based shell extensions. Call it just
// before each of those. A failure is not reported; COM stays initialised
// until the process ends.
void PrepareShell();
