#pragma once

// What the web engine needs before the application object exists; `argc` and `argv` are the
// program's, which the application object is made with.
void PrepareWebEngine(int argc, char* argv[]);
