// Puts the identification and the extension sub-command handlers into the
// service thread's pass loop. Call once before the first run.
#pragma once

void RegisterAcceptorCommands();
