// Which optional instruction sets the processor has and the operating system lets us use.
#pragma once

struct CpuFeatures
{
    bool pclmul;      // PCLMULQDQ and SSE4.1
    bool vpclmul512;  // VPCLMULQDQ on 512-bit registers with AVX-512 F/BW/VL, register state saved by the OS
};

const CpuFeatures& GetCpuFeatures();
