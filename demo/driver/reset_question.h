// The question asked when the device reports a reset.
#pragma once

extern const char* const kResetQuestionText;
extern const char* const kPollbenchCaption;

// Asks in a Yes/No box; true on Yes.
bool AskReinitializeByMessageBox();
