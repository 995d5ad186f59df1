// Linked into every program of a sanitizer build (see cmake/Morvane.cmake).
//
// The OpenGL driver keeps allocations for the life of the process and is
// unloaded when SDL shuts video down, after which LeakSanitizer can no longer
// name the library that made them. Keeping the driver loaded lets the
// suppressions below recognise its allocations, so a leak report always means
// a leak of our own.
#include <dlfcn.h>
#include <initializer_list>

// LeakSanitizer scans each thread's dynamic TLS blocks as the runtime recorded
// them by intercepting __tls_get_addr. At exit that record of the main thread
// points at blocks of the graphics driver's libraries (loaded with dlopen,
// with thread-local data of their own) that glibc has since freed, and the
// leak check's tracer crashes reading them ("Tracer caught signal 11"). Only
// dlopen'ed libraries have dynamic TLS, and the driver's allocations are
// suppressed below anyway; the engine's own thread-locals are static TLS and
// are still scanned, so leak reports lose nothing that is ours.
extern "C" const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}

extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\n"
           "leak:libEGL_mesa.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:libLLVM\n"
           "leak:libglapi.so\n";
}

__attribute__((constructor)) static void KeepGraphicsDriverLoaded() {
    for (const char* library : {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "swrast_dri.so",
                                "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"}) {
        dlopen(library, RTLD_LAZY | RTLD_NODELETE);
    }
}
