#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include <pari/pari.h>

#include "pari_library/pari_session_internal.h"

namespace pari_library::internal {

namespace {

// The stack PARI starts with, and how far it may grow (reserved address
// space, used only when a computation needs it).
constexpr size_t kStackBytes = size_t(64) << 20;
constexpr size_t kStackLimitBytes = size_t(8) << 30;

std::mutex outputMutex;
const OutputLines* outputTarget = nullptr;
std::string pendingLine;

// PARI's debug output is coloured with escape sequences even when colours
// are off: drop them.
std::string withoutColours(const std::string& line)
{
    std::string plain;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\x1b') {
            while (i < line.size() && line[i] != 'm')
                ++i;
            continue;
        }
        plain.push_back(line[i]);
    }
    return plain;
}

void takeCharacter(char c)
{
    std::lock_guard<std::mutex> lock(outputMutex);
    if (c != '\n') {
        pendingLine.push_back(c);
        return;
    }
    if (outputTarget && *outputTarget)
        (*outputTarget)(withoutColours(pendingLine));
    pendingLine.clear();
}

void putCharacter(char c) { takeCharacter(c); }

void putText(const char* text)
{
    while (*text)
        takeCharacter(*text++);
}

void flushNothing() {}

PariOUT capturedOutput = {putCharacter, putText, flushNothing};

}  // namespace

void ensureStarted()
{
    static std::once_flag started;
    std::call_once(started, [] {
        // INIT_DFTm: the defaults; no INIT_SIGm (no signal handlers), no
        // INIT_JMPm (errors only inside our catches), INIT_noINTGMPm (GMP's
        // allocation stays ours).
        pari_init_opts(kStackBytes, 0, INIT_DFTm | INIT_noINTGMPm);
        paristack_setsize(kStackBytes, kStackLimitBytes);
        setdefault("threadsizemax", std::to_string(kStackLimitBytes / 4).c_str(), d_SILENT);
        setdefault("debugmem", "0", d_SILENT);
        pariOut = &capturedOutput;
        pariErr = &capturedOutput;
    });
}

OutputCapture::OutputCapture(const OutputLines& lines)
{
    std::lock_guard<std::mutex> lock(outputMutex);
    outputTarget = &lines;
    pendingLine.clear();
}

OutputCapture::~OutputCapture()
{
    std::lock_guard<std::mutex> lock(outputMutex);
    outputTarget = nullptr;
    pendingLine.clear();
}

char* copyOut(const char* text) { return strdup(text); }

std::optional<CaughtError> runCaught(void (*body)(void* context), void* context)
{
    ensureStarted();
    pari_sp stackTop = avma;
    // A malloc'ed copy of PARI's text (which may live on PARI's stack),
    // made before any C++ object is.
    char* message = nullptr;
    long number = 0;
    pari_CATCH(CATCH_ALL)
    {
        number = err_get_num(pari_err_last());
        message = strdup(pari_err2str(pari_err_last()));
    }
    pari_TRY
    {
        body(context);
    }
    pari_ENDCATCH;
    set_avma(stackTop);
    if (!message)
        return std::nullopt;
    CaughtError error{number, message};
    std::free(message);
    return error;
}

}  // namespace pari_library::internal
