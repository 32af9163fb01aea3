// What the log's lines are made of, the same on every platform.
#include "base/run_log.h"

#include "base/text_builder.h"

namespace runlog {

Value::Value(uint64_t number) : text_(text::DecimalDigits(number, digits_)) {}

} // namespace runlog
