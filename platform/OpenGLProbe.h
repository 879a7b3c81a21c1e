#pragma once

#include <QByteArray>

// Whether OpenGL on this display is drawn by a graphics card. The question is asked in a child
// process, so that this one never loads the driver: a software driver costs tens of megabytes
// as soon as it is loaded. Call before the application object exists.
bool HasHardwareOpenGL(int argc, char* argv[]);

// Whether an OpenGL renderer, by its name, draws on the processor.
bool IsSoftwareRenderer(const QByteArray& renderer);
