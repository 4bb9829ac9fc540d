// Stands in for an OpenGL driver: on first use it allocates a block once and keeps it only in its own
// globals, as Mesa's software driver does.
#include <pthread.h>

#include <cstdlib>

namespace
{
pthread_once_t once = PTHREAD_ONCE_INIT;
void* volatile state = nullptr;
} // namespace

extern "C" void standInDriverStart()
{
    pthread_once(&once, [] { state = std::realloc(nullptr, 128); });
}
