#pragma once
// Tables with one row per enumerator, found by the enumerator itself: the row
// of e is rows[e]. oneRowPerEnumerator is for a static_assert next to the
// table, so that a missing, extra or misplaced row does not build.
#include <cstddef>

namespace engine {

template <typename Enum, typename Row, size_t N>
constexpr bool oneRowPerEnumerator(const Row (&rows)[N], Enum Row::*key, Enum last)
{
    if (static_cast<size_t>(last) + 1 != N)
        return false;
    for (size_t i = 0; i < N; ++i)
        if (static_cast<size_t>(rows[i].*key) != i)
            return false;
    return true;
}

}  // namespace engine
