#include "frame_test_support.h"

std::vector<HostCall> RecordingHost::calls;
VstIntPtr RecordingHost::answer = 0;
int BareEffect::destroyed = 0;
int RecordingEditor::destroyed = 0;
char kPointer[8];
char kValuePointer[8];
