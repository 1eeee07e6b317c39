#pragma once

/**
    How the VST2 entry point hands a host's new program name to the processor past JUCE's
    wrapper, which would read it one byte per character: as a vendor-specific call
    (effVendorSpecific) with this index and value and the host's zero-terminated text as ptr,
    which JUCE passes on to the processor's VSTCallbackHandler. The processor answers 1 when it
    renamed the current program.
*/
namespace Vst2ProgramNameRequest
{
constexpr int index = 0x4f74504e;  // 'OtPN'
constexpr long value = 0x4e616d65; // 'Name'
} // namespace Vst2ProgramNameRequest
