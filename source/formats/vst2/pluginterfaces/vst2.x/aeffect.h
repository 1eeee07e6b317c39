#pragma once

// The core of the VST 2.4 binary interface as a Linux or Windows x64 host sees it: the effect
// record a plug-in hands out, the dispatcher opcodes up to the chunk calls, the effect flags and
// the host callback. Written for this plug-in from the publicly known values and layouts of
// that interface; aeffectx.h adds the extended opcodes and structures.
//
// JUCE's VST2 wrapper includes this file inside its own namespace, so it must not include
// anything and only declares types, enumerations and the one macro the wrapper reads unqualified.

/** Fixed-width types of the interface. VstIntPtr is pointer-sized (64 bits on x86_64). It is
    the very type JUCE's wrapper uses for it (long long on 64-bit targets, where intptr_t is
    long on Linux): calling the wrapper's dispatcher through a pointer whose type differs only
    by long versus long long is undefined behaviour, which clang's sanitizer stops at. */
typedef int VstInt32;
#if defined(_WIN64) || __SIZEOF_POINTER__ == 8
typedef long long VstIntPtr;
#else
typedef int VstIntPtr;
#endif

/** Interface version a 2.4 plug-in reports (effGetVstVersion) and a 2.4 host answers. */
#define kVstVersion 2400

/** The record's magic number, the characters 'VstP' packed first-character-high. */
enum
{
    kEffectMagic = 0x56737450
};

struct AEffect;

/** Host callback: the plug-in's way to call the host (automation, time info, can-do...). */
typedef VstIntPtr (*audioMasterCallback) (AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);

typedef VstIntPtr (*AEffectDispatcherProc) (AEffect* effect, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt);
typedef void (*AEffectProcessProc) (AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames);
typedef void (*AEffectProcessDoubleProc) (AEffect* effect, double** inputs, double** outputs, VstInt32 sampleFrames);
typedef void (*AEffectSetParameterProc) (AEffect* effect, VstInt32 index, float value);
typedef float (*AEffectGetParameterProc) (AEffect* effect, VstInt32 index);

/** The effect record: the only object a host holds; every call goes through its pointers. */
struct AEffect
{
    VstInt32 magic; // kEffectMagic
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process; // accumulating process of old hosts; unused in 2.4
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;         // VstAEffectFlags
    VstIntPtr resvd1;       // reserved for the host, zero
    VstIntPtr resvd2;       // reserved for the host, zero
    VstInt32 initialDelay;  // latency in samples
    VstInt32 realQualities; // unused
    VstInt32 offQualities;  // unused
    float ioRatio;          // unused
    void* object;           // the plug-in's own object
    void* user;             // free for the host
    VstInt32 uniqueID;      // four characters, first one high
    VstInt32 version;       // the plug-in's version
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56]; // zero
};

/** Bits of AEffect::flags. */
enum VstAEffectFlags
{
    effFlagsHasEditor = 1 << 0,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsCanDoubleReplacing = 1 << 12
};

/** Host-to-plug-in opcodes of the dispatcher, first part (values 0..24). */
enum AEffectOpcodes
{
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2, // value: program index
    effGetProgram = 3,
    effSetProgramName = 4,  // ptr: text
    effGetProgramName = 5,  // ptr: 25-byte buffer
    effGetParamLabel = 6,   // index, ptr: buffer
    effGetParamDisplay = 7, // index, ptr: buffer
    effGetParamName = 8,    // index, ptr: buffer
    effSetSampleRate = 10,  // opt: rate in Hz
    effSetBlockSize = 11,   // value: largest block
    effMainsChanged = 12,   // value: 1 resume, 0 suspend
    effEditGetRect = 13,    // ptr: ERect** to fill
    effEditOpen = 14,       // ptr: parent window
    effEditClose = 15,
    effEditIdle = 19,
    effIdentify = 22, // pre-2.4; answered with 'NvEf'
    effGetChunk = 23, // index: 0 bank, 1 program; ptr: void** to fill
    effSetChunk = 24  // index as above; value: size; ptr: data
};

/** Host opcodes of the callback, first part. */
enum AudioMasterOpcodes
{
    audioMasterAutomate = 0, // index, opt: new value
    audioMasterVersion = 1   // answered with the host's interface version
};

#if defined(__x86_64__) || defined(_M_X64)
static_assert (sizeof (VstInt32) == 4 && sizeof (VstIntPtr) == 8, "VST 2.4 x64 needs 32-bit ints and 64-bit pointers");
static_assert (__builtin_offsetof(AEffect, dispatcher) == 8, "AEffect layout");
static_assert (__builtin_offsetof(AEffect, numPrograms) == 40, "AEffect layout");
static_assert (__builtin_offsetof(AEffect, flags) == 56, "AEffect layout");
static_assert (__builtin_offsetof(AEffect, resvd1) == 64, "AEffect layout");
static_assert (__builtin_offsetof(AEffect, initialDelay) == 80, "AEffect layout");
static_assert (__builtin_offsetof(AEffect, object) == 96, "AEffect layout");
static_assert (__builtin_offsetof(AEffect, uniqueID) == 112, "AEffect layout");
static_assert (__builtin_offsetof(AEffect, processReplacing) == 120, "AEffect layout");
static_assert (__builtin_offsetof(AEffect, processDoubleReplacing) == 128, "AEffect layout");
static_assert (sizeof (AEffect) == 192, "AEffect layout");
#endif
