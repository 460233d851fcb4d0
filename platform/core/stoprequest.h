#pragma once
// Requests from outside to stop the program (termination signals), counted so that a wait
// can give up as soon as one arrives while it waits. Counting is safe in a signal handler.

void CountStopRequest();
int StopRequests();
