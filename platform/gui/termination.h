#pragma once
// Treats a request to stop the process from outside (SIGTERM from the session or kill,
// SIGINT, SIGHUP) as an orderly end: the message loop ends as after a quit, so the windows
// are destroyed normally and write their settings back. Such an end is not attended: its
// errors go to standard error only, and any wait for the settings store gives up at a
// further request.

void QuitOnTerminationRequest();
