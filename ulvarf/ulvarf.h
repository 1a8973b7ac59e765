#ifndef ULVARF_ULVARF_H
#define ULVARF_ULVARF_H

/*
 * UlvaRf: the DASF resource container, its resource instances and their
 * compression, reached through plain C functions.
 *
 * Handles are opaque pointers. The library makes each one and owns it until
 * its own delete call (_ULRFDeleteInstance, _ULRFDelResInstance); every
 * delete ignores a null handle. Every buffer that crosses the interface is
 * the caller's: data given to the library is copied before the call
 * returns, and data coming out is sized first (_ULRFOutBufferSize,
 * _ULRFResInstanceSize, _ULRFResInstanceSizeUnComp) and then written into a
 * caller buffer of at least that size. Failure is told by the result alone:
 * a null handle, false, or -1. Nothing is thrown across the interface.
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
 * entry; the index used, or -1 (type mismatch, 2000 entries, no instance).
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

#ifdef __cplusplus
}
#endif

#endif /* ULVARF_ULVARF_H */
