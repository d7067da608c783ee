// Plain-text files as a document opens them: the bytes decoded (UTF-8 when valid, otherwise
// Windows-1252, up to the first NUL) and their blanks tidied. Any bytes must decode without
// crashing, and tidying must leave no tab, line feed, carriage return or space at either end
// and never lengthen the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ParameterFormController.h"
#include "TextFileSequence.h"

namespace {

bool isBlank(QChar c) {
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = rova::decodePlainText({data, size});
    const QString tidied = rova::normalisedPlainText(text);
    if (!tidied.isEmpty() && (isBlank(tidied.front()) || isBlank(tidied.back()))) {
        std::abort();
    }
    if (tidied.size() > text.size()) {
        std::abort();
    }
    return 0;
}
