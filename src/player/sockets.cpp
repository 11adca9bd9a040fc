#include "player/sockets.h"

#include <curl/curl.h>

#include <atomic>

namespace {
std::atomic<bool> g_started {false};
}

bool StartSockets()
{
    if (g_started)
        return true;
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return false;
    g_started = true;
    return true;
}

void StopSockets()
{
    if (!g_started.exchange(false))
        return;
    curl_global_cleanup();
}
