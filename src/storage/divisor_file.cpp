#include "storage/divisor_file.h"

#include <thread>

#include "engine/decimal_text.h"
#include "storage/atomic_file.h"
#include "storage/whole_file.h"

namespace storage {

bool writeDivisorFile(const std::string& path, const std::array<std::string, 3>& texts, std::string* error)
{
    AtomicFile file(path);
    const bool ok = file.write(texts[0]) && file.write("\n") && file.write(texts[1]) && file.write("\n") &&
                    file.write(texts[2]) && file.commit();
    if (!ok && error)
        *error = file.error();
    return ok;
}

std::optional<engine::DivisorProducts> readDivisorFile(const std::string& path)
{
    std::string content;
    if (readWholeFile(path, content) != FileReadStatus::Read)
        return std::nullopt;
    std::array<std::string_view, 3> lines;
    std::string_view rest = content;
    for (size_t i = 0; i < 3; ++i) {
        size_t end = i < 2 ? rest.find('\n') : std::string_view::npos;
        lines[i] = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    engine::DivisorProducts products;
    bool converted[3] = {};
    auto convert = [&](size_t i) { converted[i] = engine::setFromDecimal(products.d[i], std::string(lines[i])); };
    std::thread second(convert, 1);
    std::thread third(convert, 2);
    convert(0);
    second.join();
    third.join();
    if (!converted[0] || !converted[1] || !converted[2])
        return std::nullopt;
    return products;
}

}  // namespace storage
