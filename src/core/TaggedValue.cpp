#include "TaggedValue.h"

#include "NumberText.h"

namespace tolva {

bool TaggedValue::equalsEmptyValue() const {
    if (isEmpty())
        return true;
    if (isNumber())
        return toNumber() == 0.0;
    return toTextValue().isEmpty();
}

bool TaggedValue::lessThan(const TaggedValue& o) const {
    if (isNumber() && o.isNumber())
        return toNumber() < o.toNumber();
    if (isNumber() != o.isNumber())
        return isNumber();  // a number sorts before any text
    return toDisplayText() < o.toDisplayText();
}

QString TaggedValue::toDisplayText() const {
    if (isNumber())
        return formatRegionalNumber(toNumber());
    return toTextValue();
}

}  // namespace tolva
