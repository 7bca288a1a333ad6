#include "number_file.h"

#include "storage/whole_file.h"

namespace prp {

NumberText readNumberFile(const std::string& path)
{
    NumberText result;
    storage::FileReadStatus status = storage::readDigitsOfFile(path, result.digits);
    if (status != storage::FileReadStatus::Read) {
        result.error = "cannot read the number file \"" + path + "\": " + storage::describe(status);
        return result;
    }
    if (result.digits.empty()) {
        result.error = "the number file \"" + path + "\" holds no digits";
        return result;
    }
    size_t firstSignificant = result.digits.find_first_not_of('0');
    if (firstSignificant == std::string::npos)
        firstSignificant = result.digits.size() - 1;
    result.digits.erase(0, firstSignificant);
    result.ok = true;
    return result;
}

}  // namespace prp
