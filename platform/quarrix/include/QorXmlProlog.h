#pragma once
// Finds a document type declaration in the prolog of raw XML bytes before any parser sees
// them. Skin and text documents never need one, and an internal subset can declare entities
// that expand a few bytes into hundreds of megabytes, so documents with one are refused.
#include <cstddef>
#include <cstdint>
#include <span>

namespace qorxml {

// True when the prolog (after a byte-order mark, the XML declaration, comments, processing
// instructions and blanks) holds "<!DOCTYPE", in UTF-8 or another ASCII-based encoding,
// UTF-16 or UTF-32 of either byte order.
bool DeclaresDocumentType(std::span<const std::uint8_t> bytes);

}  // namespace qorxml
