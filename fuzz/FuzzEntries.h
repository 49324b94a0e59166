#pragma once
// The fuzz entries: each drives one reader of data the program did not write itself,
// or that a disk may have damaged, with arbitrary bytes and checks the rules it must
// keep. The fuzzers (FuzzerMain.cpp) and the corpus replay test (tests/fuzz) call
// them alike. Each answers false when a rule was broken; crashes, leaks and undefined
// behaviour are the sanitizers' to find.
#include "fuzz/FrameChecks.h"

#include <cstddef>
#include <cstdint>

namespace zeko::fuzz {

// A month file of the input's bytes, read by every reader and merged into: what was
// stored stays (or is replaced by a larger value of the same record: its stamp and
// ring index), each new record is appended once, nothing but whole records is read.
bool MonthFileMerge(const uint8_t* data, size_t size);

// "Zeko.ini" of the input's bytes: values read, ranges kept, and a write of one key
// changes that key alone.
bool IniReader(const uint8_t* data, size_t size);

// A tariff or shift history of the input's bytes: only intact records are taken, an
// intact file reads back byte for byte, and the tables and masks made from it hold.
bool HistoryReader(const uint8_t* data, size_t size);

// The alignment grid's properties read from a form stream of the input's bytes: a
// damaged stream is refused, and what was read writes a stream that reads back the
// same.
bool GridPropertyStream(const uint8_t* data, size_t size);

// A settings file of the input's bytes loaded by the settings dialog: refused with
// nothing changed and the file named, or taken exactly as its reader reads it with
// every value one the dialog takes as typed.
bool SettingsFileLoader(const uint8_t* data, size_t size);

// "Zarizeni.ini" of the input's bytes: four whole channels whatever the file holds,
// every number finite and in its range, and the file never written.
bool DeviceListReader(const uint8_t* data, size_t size);

// A JPEG picture of the input's bytes ("logo.jpg"): refused with a reason and the
// image as it was, or decoded whole and encoded again to the same size.
bool JpegDecoder(const uint8_t* data, size_t size);

// The registry store's file of the input's bytes: every key it names read, a table
// grid's column widths taken only when sound, and their saving changes the widths
// alone and keeps every line the store could not read.
bool RegistryStore(const uint8_t* data, size_t size);

// Regulator replies built from the input, through the frame check to the decoders
// of their registers: no read past a reply's data, nothing stored from a reply too
// short or refused, what was stored encodes back to the reply's bytes.
bool ReplyDecoders(const uint8_t* data, size_t size);

} // namespace zeko::fuzz
