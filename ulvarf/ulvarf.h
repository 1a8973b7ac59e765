#ifndef ULVARF_ULVARF_H
#define ULVARF_ULVARF_H

/*
 * UlvaRf: the DASF resource container, its resource instances and their
 * compression (the _ULRF family), and the style editor over one Qe style
 * resource (the _ULStE family), reached through plain C functions.
 *
 * Handles are opaque pointers. The library makes each one and owns it until
 * its own delete call (_ULRFDeleteInstance, _ULRFDelResInstance,
 * _ULStEDeleteInstance); every delete ignores a null handle. Every buffer
 * that crosses the interface is the caller's: data given to the library is
 * copied before the call returns, and data coming out is sized first
 * (_ULRFOutBufferSize, _ULRFResInstanceSize, _ULRFResInstanceSizeUnComp,
 * _ULStEExportSmfPrepare) and then written into a caller buffer of at least
 * that size. Failure is told by the result alone: a null handle, false, or
 * -1. Nothing is thrown across the interface.
 */

#include <stdbool.h>
#include <stdint.h>

#if defined(__GNUC__)
#define ULRF_API __attribute__((visibility("default")))
#else
#define ULRF_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ULRFContainer ULRFContainer;     /* a DASF container */
typedef struct ULRFResInstance ULRFResInstance; /* one resource outside a container */
typedef struct ULStEEditor ULStEEditor;         /* a style editor over one Qe style */

/* The resource argument of _ULStECreateInstance that asks for an empty pad. */
#define ULSTE_NEW_PAD ((ULRFResInstance*)(intptr_t)-1)

/* Containers */

/* A container read from an image; a null image or one shorter than 29 bytes
 * gives an empty container. Null when the image is not a DASF container or is
 * damaged (a chunk running past its parent or past the image). */
ULRF_API ULRFContainer* _ULRFCreateInstance(const uint8_t* image, uint32_t length);
ULRF_API void _ULRFDeleteInstance(ULRFContainer* container);
/* Length of the image _ULRFFillOutBuffer writes: 60 + 28n + the resource chunks;
 * -1 when it would not fit in an int. */
ULRF_API int _ULRFOutBufferSize(ULRFContainer* container);
/* Writes the image into a buffer of at least _ULRFOutBufferSize bytes. */
ULRF_API bool _ULRFFillOutBuffer(ULRFContainer* container, uint8_t* buffer);

/* The index */

/* Entry i: its name (at most 17 characters and a NUL), type and two user bytes. */
ULRF_API bool _ULRFEnumIndex(ULRFContainer* container, int i, char name[18], int* type, int* user1,
                             int* user2);
/* A non-null name replaces the entry's name (17 characters at most); a user
 * value of 0 or more replaces its byte (low 8 bits), a negative one keeps it. */
ULRF_API bool _ULRFModifyIndex(ULRFContainer* container, int i, const char* name, int user1, int user2);
/* Removes entry i with its resource; later entries move down. */
ULRF_API bool _ULRFDeleteResource(ULRFContainer* container, int i);

/* Resource instances */

/* A copy of entry i's resource (compressed); the caller frees it. */
ULRF_API ULRFResInstance* _ULRFExtractResource(ULRFContainer* container, int i);
/* Replaces entry i (same type only) or, for i outside 0..n-1, appends an
 * entry; the index used, or -1 (type mismatch, 2000 entries, no instance, a
 * chunk with the id FE that ends a container's resource list).
 * The container keeps its own copy: the instance stays the caller's. */
ULRF_API int _ULRFInsertResource(ULRFContainer* container, int i, ULRFResInstance* resource);
ULRF_API void _ULRFDelResInstance(ULRFResInstance* resource);
/* Length of the serialised instance: 8 + the chunk length. */
ULRF_API int _ULRFResInstanceSize(ULRFResInstance* resource);
/* Writes the serialised instance: type, id1, id2, flag byte, chunk length
 * (little-endian 32-bit), chunk. False when size is too small. */
ULRF_API bool _ULRFPutResInstance(ULRFResInstance* resource, uint8_t* buffer, uint32_t size);
/* An instance read from its serialised form (the chunk is compressed unless
 * it already is); null when the length word disagrees with the chunk or the data. */
ULRF_API ULRFResInstance* _ULRFCreateResInstance(const uint8_t* data, uint32_t length);
/* As _ULRFResInstanceSize, but a compressed type-7 chunk counts decompressed. */
ULRF_API int _ULRFResInstanceSizeUnComp(ULRFResInstance* resource);
/* As _ULRFPutResInstance, but a type-7 chunk is written decompressed (check
 * byte verified); false when it cannot be decompressed. */
ULRF_API bool _ULRFPutResInstanceUnComp(ULRFResInstance* resource, uint8_t* buffer, uint32_t size);

/* The style editor
 *
 * e is a style element (0-11: VAR1-VAR4, INT1, INT2, FILL1, FILL2, END1,
 * END2, FILL3, INT3), cv a chord variation (0-5), t a style track (0-7:
 * DRUM, PERC, BASS, ACC1-ACC5), i a chord type (0-21). A call with a number
 * out of range does nothing and leaves its output unchanged. Reading or
 * setting a field of a missing element, CV or pattern creates it with its
 * defaults; the query and delete calls never create. Getters write through
 * their out pointer; setters read through their pointer. Texts are
 * Windows-1252 bytes. */

/* A style editor over a copy of a style resource (type 2, or 9 for a pad,
 * both id bytes 0); null for another type or id, or a resource whose chunk
 * is not a style. A null resource gives the "New Style" model, ULSTE_NEW_PAD
 * the same as a pad. The resource stays the caller's. */
ULRF_API ULStEEditor* _ULStECreateInstance(ULRFResInstance* resource);
ULRF_API void _ULStEDeleteInstance(ULStEEditor* editor);
/* A new resource instance (type 9 for a pad, else 2) holding the style; the
 * caller frees it. Empty elements, CVs and patterns are pruned from the
 * model first. Null when the style cannot be stored. */
ULRF_API ULRFResInstance* _ULStECreateResource(ULStEEditor* editor);

/* 0 absent; 1 present and empty; 2 present with data. */
ULRF_API int _ULStEQueryStyleElem(ULStEEditor* editor, int e);
ULRF_API int _ULStEQueryChordVar(ULStEEditor* editor, int e, int cv);
ULRF_API int _ULStEQueryPattern(ULStEEditor* editor, int e, int cv, int t);
ULRF_API void _ULStEDeleteStyleElem(ULStEEditor* editor, int e);
ULRF_API void _ULStEDeleteChordVar(ULStEEditor* editor, int e, int cv);
/* Empties pattern t (an empty stream ending at tick 384) and sets it back to
 * not created. */
ULRF_API void _ULStEDeletePattern(ULStEEditor* editor, int e, int cv, int t);

/* Standard MIDI Files: one chord variation, all 8 tracks, format 0 */
/* Loads CV (e, cv); false, with the style unchanged, when the file's header is
 * refused. A fault further on ends the decoding there: what came before it is
 * loaded. */
ULRF_API bool _ULStEImportSmf(ULStEEditor* editor, const uint8_t* smf, uint32_t length, int e, int cv);
/* Renders CV (e, cv) and keeps the image in the editor; its size, or 0. */
ULRF_API int _ULStEExportSmfPrepare(ULStEEditor* editor, int e, int cv);
/* Copies the prepared image; false when none is prepared or size is smaller. */
ULRF_API bool _ULStEExportSmfFill(ULStEEditor* editor, uint8_t* buffer, uint32_t size);

/* The style */
/* Copies at most n characters and writes a NUL at buffer[n] (n + 1 bytes). */
ULRF_API void _ULStEGetName(ULStEEditor* editor, char* buffer, int n);
/* Takes at most 31 characters. */
ULRF_API void _ULStESetName(ULStEEditor* editor, const char* name);
ULRF_API void _ULStEGetBPM(ULStEEditor* editor, int* bpm);
ULRF_API void _ULStESetBPM(ULStEEditor* editor, const int* bpm);
ULRF_API void _ULStEGetTrackMode(ULStEEditor* editor, int t, uint8_t* mode);
ULRF_API void _ULStESetTrackMode(ULStEEditor* editor, int t, const uint8_t* mode);
ULRF_API void _ULStEGetTrackTension(ULStEEditor* editor, int t, uint8_t* tension);
ULRF_API void _ULStESetTrackTension(ULStEEditor* editor, int t, const uint8_t* tension);

/* Style elements */
ULRF_API void _ULStEGetNTT(ULStEEditor* editor, int e, uint8_t* ntt);
ULRF_API void _ULStESetNTT(ULStEEditor* editor, int e, const uint8_t* ntt);
/* Packed signature: (numerator - 1) in bits 0-3, log2 denominator in bits
 * 4-7. Setting it gives every present CV the signature and a length of its
 * bars, and every created pattern of those CVs the signature; a log2
 * denominator above 7 (more than the element byte's 3 bits hold) is ignored. */
ULRF_API void _ULStEGetSignature(ULStEEditor* editor, int e, uint8_t* signature);
ULRF_API void _ULStESetSignature(ULStEEditor* editor, int e, const uint8_t* signature);
/* The CV that plays chord type i. Setting a byte then points every byte that
 * names a missing CV at the first present CV (0 when none). */
ULRF_API void _ULStEGetChordAssign(ULStEEditor* editor, int e, int i, uint8_t* cv);
ULRF_API void _ULStESetChordAssign(ULStEEditor* editor, int e, int i, const uint8_t* cv);
ULRF_API void _ULStEGetTrackExpression(ULStEEditor* editor, int e, int t, uint8_t* expression);
ULRF_API void _ULStESetTrackExpression(ULStEEditor* editor, int e, int t, const uint8_t* expression);
/* bank MSB << 24 | bank LSB << 16 | program; bits 15-8 are ignored on set. */
ULRF_API void _ULStEGetTrackProgram(ULStEEditor* editor, int e, int t, uint32_t* program);
ULRF_API void _ULStESetTrackProgram(ULStEEditor* editor, int e, int t, const uint32_t* program);
ULRF_API void _ULStEGetTrackKBRangeLow(ULStEEditor* editor, int e, int t, uint8_t* note);
ULRF_API void _ULStESetTrackKBRangeLow(ULStEEditor* editor, int e, int t, const uint8_t* note);
ULRF_API void _ULStEGetTrackKBRangeHigh(ULStEEditor* editor, int e, int t, uint8_t* note);
ULRF_API void _ULStESetTrackKBRangeHigh(ULStEEditor* editor, int e, int t, const uint8_t* note);

/* Patterns */
ULRF_API void _ULStEGetTrackChord(ULStEEditor* editor, int e, int cv, int t, uint8_t* chord);
ULRF_API void _ULStESetTrackChord(ULStEEditor* editor, int e, int cv, int t, const uint8_t* chord);
ULRF_API void _ULStEGetTrackKey(ULStEEditor* editor, int e, int cv, int t, uint8_t* key);
ULRF_API void _ULStESetTrackKey(ULStEEditor* editor, int e, int cv, int t, const uint8_t* key);

/* Version: 0 a Qe4k style, 1 a Qe9z style */
ULRF_API void _ULStEGetQeVersion(ULStEEditor* editor, uint8_t* version);
ULRF_API void _ULStESetQeVersion(ULStEEditor* editor, uint8_t version);
/* The style-information release when the version is below 1; 0 otherwise. */
ULRF_API void _ULStEGetQeStyInfoRelease(ULStEEditor* editor, uint8_t* release);

/* VexSound */
/* VexSound events of the created patterns of (e, cv) become notes again. */
ULRF_API void _ULStEConvertVexSoundToNote(ULStEEditor* editor, int e, int cv);
/* For each track t whose pattern in (e, cv) is created and whose range
 * (ranges[t][0] low, ranges[t][1] high) is not (0, 127): notes whose key lies
 * outside the range become VexSound events. */
ULRF_API void _ULStEConvertNoteToVexSound(ULStEEditor* editor, int e, int cv, const uint8_t ranges[8][2]);

#ifdef __cplusplus
}
#endif

#endif /* ULVARF_ULVARF_H */
