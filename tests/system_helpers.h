// What tests ask of the system in the system's own way (tests/posix/, tests/windows/).
#pragma once

// A pipe between two descriptors of this process: ends[0] reads what ends[1] writes, bytes
// unchanged. False when no pipe could be made.
bool OpenPipe(int ends[2]);
// Asks this process to quit as the system does (POSIX: SIGTERM; Windows: Ctrl+Break on its
// console) and returns once the request has arrived; false when it could not be sent.
bool SendQuitRequest();
