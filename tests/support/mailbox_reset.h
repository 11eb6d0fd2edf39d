// The mailbox back at its start values, for the fixtures of the link's and
// the integration tests.
#pragma once

namespace testing_support {

// Every command and report field of the mailbox back to its start value.
// hComThread is left alone: only a starter and its run change it.
void ResetMailbox();

} // namespace testing_support
