#include "sheet/SheetCell.h"

QVariant SheetCell::value() const {
    switch (type) {
    case Type::Empty:
        return {};
    case Type::Number:
    case Type::Date:
        return number;
    case Type::Boolean:
        return number != 0;
    case Type::Text:
    case Type::Error:
        return string;
    }
    return {};
}
