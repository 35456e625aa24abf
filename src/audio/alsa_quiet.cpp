// libasound reached through the dynamic loader, as SDL reaches it: the game links nothing more, and
// the handler is set in the very library SDL then opens (the loader hands out one copy).
#include "alsa_quiet.hpp"

#include <dlfcn.h>

namespace qm {

namespace {

// snd_lib_error_handler_t: file, line, function, error number, then a printf format.
using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetErrorHandler = int (*)(ErrorHandler);

void swallow(const char*, int, const char*, int, const char*, ...) {}

SetErrorHandler setter(void* library) {
    return library ? reinterpret_cast<SetErrorHandler>(dlsym(library, "snd_lib_error_set_handler")) : nullptr;
}

}  // namespace

QuietAlsa::QuietAlsa() : library_(dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL)) {
    if (const SetErrorHandler set = setter(library_)) set(&swallow);
}

QuietAlsa::~QuietAlsa() {
    if (!library_) return;
    // A null handler is libasound's own default, which prints.
    if (const SetErrorHandler set = setter(library_)) set(nullptr);
    dlclose(library_);
}

}  // namespace qm
