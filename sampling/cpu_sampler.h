// Which CPU method StartCpuSampler chose, for the tear-down and for tests.
#pragma once

enum CpuMethod { CpuMethodNone, CpuMethodVxd, CpuMethodRegistry, CpuMethodNt };
extern CpuMethod ChosenCpuMethod;
