#include "store/DaoField.h"

namespace corvane {

void CDaoFieldExchange::Add(const char* column, FieldRef field) {
    std::string name = column;
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
    }
    bindings_.push_back({std::move(name), field});
}

}  // namespace corvane
