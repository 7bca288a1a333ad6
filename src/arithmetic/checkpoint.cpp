#include "arithmetic/checkpoint.h"

#include <cstdlib>
#include <sstream>

#include "arithmetic/text_checksum.h"

namespace arithmetic {

namespace {

constexpr const char* kMagicLine = "quendrolt prp checkpoint 1";
constexpr const char* kChecksumKey = "checksum ";

// Splits the checked body into "key value" lines; an empty map when the
// text is not a whole, undamaged checkpoint.
std::map<std::string, std::string> parseFields(const std::string& text)
{
    size_t checksumAt = text.rfind(std::string("\n") + kChecksumKey);
    if (!text.starts_with(std::string(kMagicLine) + "\n") || checksumAt == std::string::npos)
        return {};
    size_t bodySize = checksumAt + 1;
    std::string stated = text.substr(bodySize + std::char_traits<char>::length(kChecksumKey));
    if (stated != hex64(fnv1a(text.data(), bodySize)) + "\n")
        return {};
    std::map<std::string, std::string> fields;
    std::istringstream lines(text.substr(0, bodySize));
    std::string line;
    std::getline(lines, line);  // the magic line
    while (std::getline(lines, line)) {
        size_t blank = line.find(' ');
        if (blank == std::string::npos)
            return {};
        fields[line.substr(0, blank)] = line.substr(blank + 1);
    }
    return fields;
}

class NoCheckpoints final : public CheckpointStore {
public:
    double intervalSeconds() const override { return 0; }
    bool due() const override { return false; }
    bool holdsState() const override { return false; }
    std::optional<Checkpoint> load() override { return std::nullopt; }
    void save(const Checkpoint&) override {}
    void remove() override {}
    std::string name() const override { return "no checkpoint"; }
};

}  // namespace

void Checkpoint::setCount(const std::string& name, uint64_t value)
{
    values[name] = std::to_string(value);
}

void Checkpoint::setNumber(const std::string& name, mpz_srcptr value)
{
    std::string text(mpz_sizeinbase(value, 16) + 2, '\0');
    mpz_get_str(text.data(), 16, value);
    text.resize(text.find('\0'));
    values[name] = text;
}

bool Checkpoint::getCount(const std::string& name, uint64_t& value) const
{
    auto found = values.find(name);
    if (found == values.end())
        return false;
    char* end = nullptr;
    value = std::strtoull(found->second.c_str(), &end, 10);
    return !found->second.empty() && *end == '\0';
}

bool Checkpoint::getNumber(const std::string& name, mpz_ptr value) const
{
    auto found = values.find(name);
    return found != values.end() && mpz_set_str(value, found->second.c_str(), 16) == 0 && mpz_sgn(value) >= 0;
}

std::string numberIdentity(mpz_srcptr n)
{
    size_t limbs = mpz_size(n);
    const mp_limb_t* data = mpz_limbs_read(n);
    uint64_t low = limbs == 0 ? 0 : data[0];
    return "bits=" + std::to_string(mpz_sizeinbase(n, 2)) + " fnv1a=" + hex64(fnv1a(data, limbs * sizeof(mp_limb_t))) +
           " low=" + hex64(low);
}

std::string checkpointText(const Checkpoint& checkpoint, const std::string& numberId, const std::string& test)
{
    std::string text = std::string(kMagicLine) + "\n";
    text += "number " + numberId + "\n";
    text += "test " + test + "\n";
    text += "step " + std::to_string(checkpoint.step) + "\n";
    for (const auto& [name, value] : checkpoint.values)
        text += name + " " + value + "\n";
    text += kChecksumKey + hex64(fnv1a(text.data(), text.size())) + "\n";
    return text;
}

CheckpointReading readCheckpointText(const std::string& text, const std::string& numberId, const std::string& test)
{
    using Result = CheckpointReading::Result;
    CheckpointReading reading;
    std::map<std::string, std::string> fields = parseFields(text);
    if (fields.empty())
        return reading;
    if (fields["number"] != numberId || fields["test"] != test) {
        reading.result = Result::OtherTest;
        reading.test = fields["test"];
        return reading;
    }
    for (const char* header : {"number", "test"})
        fields.erase(header);
    reading.checkpoint.values = std::move(fields);
    if (!reading.checkpoint.getCount("step", reading.checkpoint.step)) {
        reading.result = Result::NoStep;
        return reading;
    }
    reading.checkpoint.values.erase("step");
    reading.result = Result::Usable;
    return reading;
}

std::unique_ptr<CheckpointStore> noCheckpoints() { return std::make_unique<NoCheckpoints>(); }

}  // namespace arithmetic
