#pragma once

#include <QString>

// What the web engine needs before the application object exists; `argc` and `argv` are the
// program's, which the application object is made with.
void PrepareWebEngine(int argc, char* argv[]);

// The web engine as the running program has it, read from the engine: its name and version
// with the Chromium it is built on, and the Chromium release its security fixes come up to.
QString WebEngineVersion();
QString WebEngineSecurityLevel();
