#pragma once

#include <QString>
#include <cstdint>

namespace qv {

// Reply length of a code; for a memory read, the length byte of the current
// request plus 5; 0 for a code outside the protocol.
int ExpectedReplyLength(uint8_t code);

// The log line that names the command in Request, empty for unknown codes.
QString TraceLine();

// One attempt: purge, send Request, read the reply. ReplyLength is 0 when
// nothing usable came.
void Transact();

// Repeats Transact until a reply passes its checksum: true with the reply in
// Reply/ReplyLength. A reply that came in shorter than its length is a bad
// one whatever its checksum. A silent charger or an unknown reply fails at
// once; bad replies are tried five times.
bool SendCommand();

inline constexpr int kMaxAttempts = 5;
inline constexpr int kReadsPerAttempt = 10;

}  // namespace qv
