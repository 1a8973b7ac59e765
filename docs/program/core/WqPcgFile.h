#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib {

// The Wq-series program file, read and written whole. Sizes are exact:
//
//   family A ('9', '<', 'H'), .PCG, 14255 bytes:
//     head 791 | drum-kit maps 2 x 1320 | programs 64 x 164 | drum-kit heads 2 x 164
//   family B ('I', 'M'), .PRG, 30480 bytes:
//     head 48 | programs 128 x 172 | drum-kit heads 8 x 172 | drum-kit maps 8 x 880
//
// The head ("DASK", the model letter, then the keyboard's own bytes) is kept
// whole and not interpreted. A drum kit is held as its head followed by its map.
class WqPcgFile {
public:
    struct Layout {
        size_t total = 0;
        size_t head = 0;
        int programs = 0;
        int drumKits = 0;
        size_t record = 0; // program record and drum-kit head
        size_t map = 0;    // drum-kit map
    };
    // The layout of a model; nullopt for a model without one.
    static std::optional<Layout> LayoutOf(int model);

    enum class Error {
        None,
        ModelNotSupported, // not a Wq model, or a head length that does not fit the model
        BadSize,           // the image is not the layout's size
    };

    // What a file holds.
    std::vector<uint8_t> head;
    std::vector<std::vector<uint8_t>> programs;
    std::vector<std::vector<uint8_t>> drumKits;

    // Reads an image of the model whose head is `headLength` bytes (791 for
    // .PCG, 48 for .PRG): the head length must be the model's.
    Error Parse(std::span<const uint8_t> image, int model, size_t headLength);

    // The image of the model from the content; nullopt when the counts or a
    // record size do not fit the layout. A head of another length is replaced
    // by "DASK", the model letter and zeros.
    std::optional<std::vector<uint8_t>> Build(int model) const;
};

} // namespace zib
