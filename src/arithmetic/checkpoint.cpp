#include "arithmetic/checkpoint.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

#include "arithmetic/text_checksum.h"

namespace arithmetic {

namespace {

constexpr const char* kChecksumKey = "checksum ";

std::string magicLine(int version) { return kCheckpointMagic + std::to_string(version); }

// Splits the checked body into "key value" lines; an empty map when the
// text is not a whole, undamaged checkpoint of that version. The residues
// are most of a checkpoint: each is copied once, into its value.
std::map<std::string, std::string> parseFields(std::string_view text, int version)
{
    const std::string magic = magicLine(version) + "\n";
    size_t checksumAt = text.rfind(std::string("\n") + kChecksumKey);
    if (!text.starts_with(magic) || checksumAt == std::string::npos)
        return {};
    size_t bodySize = checksumAt + 1;
    std::string_view stated = text.substr(bodySize + std::char_traits<char>::length(kChecksumKey));
    if (stated != hex64(fnv1a(text.data(), bodySize)) + "\n")  // textFingerprint of the body
        return {};
    std::map<std::string, std::string> fields;
    for (size_t at = magic.size(); at < bodySize;) {
        size_t end = text.find('\n', at);
        std::string_view line = text.substr(at, end - at);
        size_t blank = line.find(' ');
        if (blank == std::string_view::npos)
            return {};
        fields[std::string(line.substr(0, blank))] = std::string(line.substr(blank + 1));
        at = end + 1;
    }
    return fields;
}

class NoCheckpoints final : public CheckpointStore {
public:
    double intervalSeconds() const override { return 0; }
    bool due(uint64_t) const override { return false; }
    bool holdsState() const override { return false; }
    std::optional<Checkpoint> load() override { return std::nullopt; }
    bool save(const Checkpoint&) override { return false; }
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
    const std::string& text = found->second;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
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

std::string residueFingerprint(uint64_t position, mpz_srcptr residue)
{
    uint64_t hash = fnv1a(&position, sizeof position);
    return hex64(fnv1a(mpz_limbs_read(residue), mpz_size(residue) * sizeof(mp_limb_t), hash));
}

std::string textFingerprint(const std::string& text) { return hex64(fnv1a(text.data(), text.size())); }

std::string checkpointText(const Checkpoint& checkpoint, const std::string& numberId, const std::string& test)
{
    std::string text = magicLine(kCheckpointVersion) + "\n";
    text += "number " + numberId + "\n";
    text += "test " + test + "\n";
    text += "step " + std::to_string(checkpoint.step) + "\n";
    size_t size = text.size() + 200;
    for (const auto& [name, value] : checkpoint.values)
        size += name.size() + value.size() + 2;
    text.reserve(size);
    for (const auto& [name, value] : checkpoint.values)
        text.append(name).append(" ").append(value).append("\n");
    text += kChecksumKey + textFingerprint(text) + "\n";
    return text;
}

CheckpointReading readCheckpointText(const std::string& text, const std::string& numberId)
{
    using Result = CheckpointReading::Result;
    CheckpointReading reading;
    std::map<std::string, std::string> fields = parseFields(text, kCheckpointVersion);
    if (fields.empty()) {
        for (int older = 1; older < kCheckpointVersion; ++older)
            if (text.starts_with(magicLine(older) + "\n"))
                reading.result = Result::OlderVersion;
        return reading;
    }
    if (fields["number"] != numberId) {
        reading.result = Result::OtherNumber;
        return reading;
    }
    reading.test = fields["test"];
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
