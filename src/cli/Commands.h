#pragma once

// Each command takes the arguments after its own name and returns the process's
// exit status: 0 success, 1 a failed run, 2 bad arguments.
int runSampleCommand(int argc, char** argv);
int runRandomCommand(int argc, char** argv);
int runFractalCommand(int argc, char** argv);
