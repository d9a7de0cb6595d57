// The namespace of the speech codec's internals.
//
// The algorithm sources are compiled twice: into the library, in zv::qv80,
// and for the tests into the reference build (ZV_QV80_REFERENCE_ARITHMETIC:
// no certified fast path), in zv::qv80_reference, so that a test can link
// both and compare them bit for bit. Every header of the codec includes this
// one and opens `namespace zv::ZV_QV80_NAMESPACE`.
#ifndef ZV_QV80_SPEECH_NAMESPACE_H
#define ZV_QV80_SPEECH_NAMESPACE_H

#ifdef ZV_QV80_REFERENCE_ARITHMETIC
#define ZV_QV80_NAMESPACE qv80_reference
#else
#define ZV_QV80_NAMESPACE qv80
#endif

#endif  // ZV_QV80_SPEECH_NAMESPACE_H
