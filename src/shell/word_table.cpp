#include "shell/word_table.h"

#include <array>

namespace shell {

const QString& word(int index)
{
    static const std::array<QString, kWordCount> words = [] {
        std::array<QString, kWordCount> w;
        const char* results[] = {"NOT prime",   "It could be a prime", "Is prime",
                                 "Is composite", "Possible prime",      "Not done",
                                 "Timeout",     "Processing has been stopped", "Has no small factor"};
        for (int i = 0; i < 9; ++i)
            w[static_cast<size_t>(i)] = QString::fromLatin1(results[i]);
        const char* history[] = {"through addition",
                                 "through subtraction",
                                 "through division",
                                 "through multiplication",
                                 "through power",
                                 "through root",
                                 "through next prime",
                                 "through previous prime",
                                 "through mod",
                                 "through GCD",
                                 "through shift left (* 2^n)",
                                 "through shift right (/ 2^n)",
                                 "through reverse function",
                                 "through *10",
                                 "through /10",
                                 "through +UI",
                                 "through LCM",
                                 "through Concat",
                                 "through GCF M",
                                 "through Root Rem",
                                 "through Logx(n)"};
        for (int i = 0; i < 21; ++i)
            w[static_cast<size_t>(11 + i)] = QString::fromLatin1(history[i]);
        return w;
    }();
    static const QString empty;
    return index >= 0 && index < kWordCount ? words[static_cast<size_t>(index)] : empty;
}

}  // namespace shell
