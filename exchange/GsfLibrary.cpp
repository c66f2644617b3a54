#include "exchange/GsfLibrary.h"

#include <gsf/gsf-utils.h>

#include <mutex>

namespace {

void Discard(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

} // namespace

void StartGsf()
{
    static std::once_flag started;
    std::call_once(started, [] {
        gsf_init();
        const auto levels = GLogLevelFlags(G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION);
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:open_pkg", "libgsf:zip", "libgsf:tar"})
            g_log_set_handler(domain, levels, Discard, nullptr);
    });
}
