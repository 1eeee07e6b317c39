#pragma once

// The extended part of the VST 2.4 binary interface: the later dispatcher and host opcodes,
// MIDI events, transport information, pins, speaker arrangements, editor rectangle and plug-in
// categories, with the values and x86_64 layouts hosts use. Written for this plug-in from the
// publicly known interface; only what JUCE's VST2 wrapper and our own test host use is here.
//
// Included inside JUCE's namespace too: no includes of its own besides aeffect.h.

#include "aeffect.h"

/** Text buffer sizes of the interface, without the terminating zero. */
enum Vst2StringConstants
{
    kVstMaxLabelLen = 64,
    kVstMaxShortLabelLen = 8
};

/** Host-to-plug-in opcodes of the dispatcher, extended part (values 25..79). */
enum AEffectXOpcodes
{
    effProcessEvents = 25,         // ptr: VstEvents*
    effCanBeAutomated = 26,        // index
    effString2Parameter = 27,      // index, ptr: text
    effGetProgramNameIndexed = 29, // index, ptr: buffer
    effGetInputProperties = 33,    // index, ptr: VstPinProperties*
    effGetOutputProperties = 34,   // index, ptr: VstPinProperties*
    effGetPlugCategory = 35,       // answered with a VstPlugCategory
    effSetSpeakerArrangement = 42, // value: input VstSpeakerArrangement*, ptr: output one
    effSetBypass = 44,             // value: 1 bypassed
    effGetEffectName = 45,         // ptr: 33-byte buffer
    effGetVendorString = 47,       // ptr: 65-byte buffer
    effGetProductString = 48,      // ptr: 65-byte buffer
    effGetVendorVersion = 49,
    effVendorSpecific = 50, // index, value, ptr, opt: vendor-defined
    effCanDo = 51,          // ptr: capability text; 1 yes, -1 no, 0 don't know
    effGetTailSize = 52,    // samples
    effKeysRequired = 57,   // pre-2.4
    effGetVstVersion = 58,
    effGetCurrentMidiProgram = 63,
    effGetSpeakerArrangement = 69,   // value: VstSpeakerArrangement**, ptr: the same for output
    effSetTotalSampleToProcess = 73, // value: samples of an offline pass
    effSetProcessPrecision = 77,     // value: VstProcessPrecision
    effGetNumMidiInputChannels = 78,
    effGetNumMidiOutputChannels = 79
};

/** Host opcodes of the callback, extended part. */
enum AudioMasterOpcodesX
{
    audioMasterWantMidi = 6,      // pre-2.4
    audioMasterGetTime = 7,       // value: wanted VstTimeInfoFlags; returns VstTimeInfo*
    audioMasterProcessEvents = 8, // ptr: VstEvents*
    audioMasterIOChanged = 13,
    audioMasterSizeWindow = 15,             // index: width, value: height
    audioMasterGetCurrentProcessLevel = 23, // 4: offline
    audioMasterVendorSpecific = 35,
    audioMasterCanDo = 37, // ptr: capability text
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43, // index
    audioMasterEndEdit = 44    // index
};

/** What effGetPlugCategory answers. */
enum VstPlugCategory
{
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2
};

/** effSetProcessPrecision's value. */
enum VstProcessPrecision
{
    kVstProcessPrecision32 = 0,
    kVstProcessPrecision64 = 1
};

//==============================================================================
/** Editor rectangle in pixels. */
struct ERect
{
    short top;
    short left;
    short bottom;
    short right;
};

//==============================================================================
enum VstEventTypes
{
    kVstMidiType = 1,
    kVstSysExType = 6
};

/** Common head of every event; byteSize counts the whole event. */
struct VstEvent
{
    VstInt32 type;
    VstInt32 byteSize;
    VstInt32 deltaFrames; // sample offset in the block
    VstInt32 flags;
    char data[16];
};

/** A list of events; the array really holds numEvents pointers. */
struct VstEvents
{
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[2];
};

struct VstMidiEvent
{
    VstInt32 type; // kVstMidiType
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 noteLength;
    VstInt32 noteOffset;
    char midiData[4]; // up to three bytes, the fourth zero
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

struct VstMidiSysexEvent
{
    VstInt32 type; // kVstSysExType
    VstInt32 byteSize;
    VstInt32 deltaFrames;
    VstInt32 flags;
    VstInt32 dumpBytes;
    VstIntPtr resvd1;
    char* sysexDump;
    VstIntPtr resvd2;
};

//==============================================================================
/** Transport information the host returns from audioMasterGetTime. */
struct VstTimeInfo
{
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    VstInt32 timeSigNumerator;
    VstInt32 timeSigDenominator;
    VstInt32 smpteOffset;    // in 1/80 of a frame
    VstInt32 smpteFrameRate; // VstSmpteFrameRate
    VstInt32 samplesToNextClock;
    VstInt32 flags; // VstTimeInfoFlags
};

enum VstTimeInfoFlags
{
    kVstTransportChanged = 1,
    kVstTransportPlaying = 1 << 1,
    kVstTransportCycleActive = 1 << 2,
    kVstTransportRecording = 1 << 3,
    kVstNanosValid = 1 << 8,
    kVstPpqPosValid = 1 << 9,
    kVstTempoValid = 1 << 10,
    kVstBarsValid = 1 << 11,
    kVstCyclePosValid = 1 << 12,
    kVstTimeSigValid = 1 << 13,
    kVstSmpteValid = 1 << 14,
    kVstClockValid = 1 << 15
};

enum VstSmpteFrameRate
{
    kVstSmpte24fps = 0,
    kVstSmpte25fps = 1,
    kVstSmpte2997fps = 2,
    kVstSmpte30fps = 3,
    kVstSmpte2997dfps = 4,
    kVstSmpte30dfps = 5,
    kVstSmpteFilm16mm = 6,
    kVstSmpteFilm35mm = 7,
    kVstSmpte239fps = 10,
    kVstSmpte249fps = 11,
    kVstSmpte599fps = 12,
    kVstSmpte60fps = 13
};

//==============================================================================
/** Description of one input or output pin (effGetInputProperties/effGetOutputProperties). */
struct VstPinProperties
{
    char label[kVstMaxLabelLen];
    VstInt32 flags;           // VstPinPropertiesFlags
    VstInt32 arrangementType; // VstSpeakerArrangementType
    char shortLabel[kVstMaxShortLabelLen];
    char future[48];
};

enum VstPinPropertiesFlags
{
    kVstPinIsActive = 1 << 0,
    kVstPinIsStereo = 1 << 1,
    kVstPinUseSpeaker = 1 << 2
};

/** One speaker of an arrangement. */
struct VstSpeakerProperties
{
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];
    VstInt32 type; // VstSpeakerType
    char future[28];
};

/** A channel layout. The interface fixes room for eight speakers; larger layouts are allocated
    longer by whoever builds them. */
struct VstSpeakerArrangement
{
    VstInt32 type; // VstSpeakerArrangementType
    VstInt32 numChannels;
    VstSpeakerProperties speakers[8];
};

enum VstSpeakerType
{
    kSpeakerM = 0,
    kSpeakerL = 1,
    kSpeakerR = 2,
    kSpeakerC = 3,
    kSpeakerLfe = 4,
    kSpeakerLs = 5,
    kSpeakerRs = 6,
    kSpeakerLc = 7,
    kSpeakerRc = 8,
    kSpeakerS = 9,
    kSpeakerSl = 10,
    kSpeakerSr = 11,
    kSpeakerTm = 12,
    kSpeakerTfl = 13,
    kSpeakerTfc = 14,
    kSpeakerTfr = 15,
    kSpeakerTrl = 16,
    kSpeakerTrc = 17,
    kSpeakerTrr = 18,
    kSpeakerLfe2 = 19
};

enum VstSpeakerArrangementType
{
    kSpeakerArrUserDefined = -2,
    kSpeakerArrEmpty = -1,
    kSpeakerArrMono = 0,
    kSpeakerArrStereo = 1,
    kSpeakerArrStereoSurround = 2,
    kSpeakerArrStereoCenter = 3,
    kSpeakerArrStereoSide = 4,
    kSpeakerArrStereoCLfe = 5,
    kSpeakerArr30Cine = 6,
    kSpeakerArr30Music = 7,
    kSpeakerArr31Cine = 8,
    kSpeakerArr31Music = 9,
    kSpeakerArr40Cine = 10,
    kSpeakerArr40Music = 11,
    kSpeakerArr41Cine = 12,
    kSpeakerArr41Music = 13,
    kSpeakerArr50 = 14,
    kSpeakerArr51 = 15,
    kSpeakerArr60Cine = 16,
    kSpeakerArr60Music = 17,
    kSpeakerArr61Cine = 18,
    kSpeakerArr61Music = 19,
    kSpeakerArr70Cine = 20,
    kSpeakerArr70Music = 21,
    kSpeakerArr71Cine = 22,
    kSpeakerArr71Music = 23,
    kSpeakerArr80Cine = 24,
    kSpeakerArr80Music = 25,
    kSpeakerArr81Cine = 26,
    kSpeakerArr81Music = 27,
    kSpeakerArr102 = 28
};

#if defined(__x86_64__) || defined(_M_X64)
static_assert (sizeof (ERect) == 8, "ERect layout");
static_assert (sizeof (VstEvent) == 32, "VstEvent layout");
static_assert (__builtin_offsetof(VstEvents, events) == 16 && sizeof (VstEvents) == 32, "VstEvents layout");
static_assert (__builtin_offsetof(VstMidiEvent, midiData) == 24 && sizeof (VstMidiEvent) == 32, "VstMidiEvent layout");
static_assert (__builtin_offsetof(VstMidiSysexEvent, dumpBytes) == 16, "VstMidiSysexEvent layout");
static_assert (__builtin_offsetof(VstMidiSysexEvent, sysexDump) == 32 && sizeof (VstMidiSysexEvent) == 48, "VstMidiSysexEvent layout");
static_assert (__builtin_offsetof(VstTimeInfo, timeSigNumerator) == 64, "VstTimeInfo layout");
static_assert (__builtin_offsetof(VstTimeInfo, flags) == 84 && sizeof (VstTimeInfo) == 88, "VstTimeInfo layout");
static_assert (__builtin_offsetof(VstPinProperties, flags) == 64, "VstPinProperties layout");
static_assert (__builtin_offsetof(VstPinProperties, shortLabel) == 72 && sizeof (VstPinProperties) == 128, "VstPinProperties layout");
static_assert (__builtin_offsetof(VstSpeakerProperties, name) == 16, "VstSpeakerProperties layout");
static_assert (__builtin_offsetof(VstSpeakerProperties, type) == 80 && sizeof (VstSpeakerProperties) == 112, "VstSpeakerProperties layout");
static_assert (__builtin_offsetof(VstSpeakerArrangement, speakers) == 8, "VstSpeakerArrangement layout");
static_assert (sizeof (VstSpeakerArrangement) == 8 + 8 * 112, "VstSpeakerArrangement layout");
#endif
