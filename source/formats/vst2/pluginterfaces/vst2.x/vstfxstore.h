#pragma once

// The bank-chunk layout of VST 2 preset files, as far as the VST3 wrapper uses it to read and
// write VST2-compatible state (so that the VST3 build can take over a VST2 build's projects).
// Written for this plug-in from the publicly documented file layout: big-endian fields, the
// opaque chunk's size at byte 156 and the chunk itself from byte 160.
//
// The wrapper includes this file inside its own namespace, so it must not include anything.

/** Header of an opaque bank chunk ("CcnK" / "FBCh"). All fields are stored big-endian. */
struct fxBank
{
    int chunkMagic; // 'CcnK'
    int byteSize;   // bytes that follow this field
    int fxMagic;    // 'FBCh': the bank is one opaque chunk
    int version;    // 1 or 2
    int fxID;       // the plug-in's unique ID
    int fxVersion;  // the plug-in's version
    int numPrograms;
    int currentProgram; // version 2 only
    char future[124];

    union
    {
        struct
        {
            int size;      // bytes of chunk
            char chunk[8]; // the chunk starts here; its real length is size
        } data;
    } content;
};

static_assert (sizeof (int) == 4, "the bank layout needs 32-bit fields");
static_assert (__builtin_offsetof(fxBank, content) == 156, "chunk size must sit at byte 156");
static_assert (__builtin_offsetof(fxBank, content.data.chunk) == 160, "chunk must start at byte 160");
