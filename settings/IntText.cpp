#include "settings/IntText.h"

CountedString IntText::toText() const {
    CountedString text;
    text.assignNumber(value);
    return text;
}
