#include "platform/OpenGLProbe.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

enum TProbeAnswer { ProbeHardware = 0, ProbeSoftware = 1 };

#ifdef Q_OS_UNIX
[[noreturn]] void AnswerProbe(int argc, char* argv[])
{
    // A driver that hangs must not hold up the program's start for long.
    ::alarm(10);
    // What the probe finds missing (a display, OpenGL) is reported by the program itself later.
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0)
        ::dup2(null, STDERR_FILENO);
    QGuiApplication application(argc, argv);
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    bool hardware = context.create() && context.makeCurrent(&surface);
    if (hardware) {
        const auto* renderer = context.functions()->glGetString(GL_RENDERER);
        hardware = renderer && !IsSoftwareRenderer(reinterpret_cast<const char*>(renderer));
    }
    ::_exit(hardware ? ProbeHardware : ProbeSoftware);
}
#endif

} // namespace

bool IsSoftwareRenderer(const QByteArray& renderer)
{
    static const char* const softwareRenderers[] = {"llvmpipe", "softpipe", "swrast", "Software Rasterizer",
                                                    "SwiftShader", "Microsoft Basic Render Driver"};
    for (const char* name : softwareRenderers) {
        if (renderer.contains(name))
            return true;
    }
    return false;
}

bool HasHardwareOpenGL(int argc, char* argv[])
{
#ifdef Q_OS_UNIX
    const pid_t child = ::fork();
    if (child == 0)
        AnswerProbe(argc, argv);
    if (child < 0)
        return true;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // A probe that could not answer (it crashed, say) leaves the usual OpenGL path in place.
    return !(WIFEXITED(status) && WEXITSTATUS(status) == ProbeSoftware);
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return true;
#endif
}
