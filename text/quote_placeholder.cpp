#include "text/quote_placeholder.h"

#include "platform/codepage/code_page.h"

namespace zendra {

const Text& QuotePlaceholder() {
  static const Text placeholder = Cp936FromUtf8("#引号");
  return placeholder;
}

}  // namespace zendra
