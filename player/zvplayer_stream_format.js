// The .zvsa stream file: a 154-byte header, then the codec's frames back to
// back. All fields little-endian.
//
//   offset  size  field
//   0       128   banner: "Z&V Tavelworks Version ..." text, 0x1A, 0
//   128     2     codecTag (the codec identifier)
//   130     4     encoderVersion
//   134     4     codecVersion
//   138     4     sampleCount
//   142     4     sampleRate
//   146     4     dataBytes (bytes of frames after the header)
//   150     4     checkWord over sampleCount, dataBytes and codecTag

export const HEADER_BYTES = 154;
const BANNER_BYTES = 128;
const BANNER_START = 'Z&V Tavelworks Version ';
const END_OF_TEXT = 0x1a;

// The codecs by identifier: the WebAssembly file and the entry points'
// prefix of each.
export const CODECS = new Map([
  [2022, { library: 'QV80W', file: 'QV80W.wasm', prefix: 'QV80_' }],
  [1, { library: 'QV160MXW', file: 'QV160MXW.wasm', prefix: 'QV160MX_' }],
  [48, { library: 'QV48W', file: 'QV48W.wasm', prefix: 'QV48_' }],
]);

// A reason why a clip cannot be played, in words for the console.
export class ClipError extends Error {}

function reverseBits32(x) {
  let r = 0;
  for (let i = 0; i < 32; ++i) {
    r = (r << 1) | (x & 1);
    x >>>= 1;
  }
  return r >>> 0;
}

// The reversed dataBytes ORed with sampleCount, XORed with the inverted
// word that holds codecTag in both halves.
export function computeCheckWord(sampleCount, dataBytes, codecTag) {
  const tagWord = ~((codecTag << 16) | codecTag) >>> 0;
  return ((reverseBits32(dataBytes) | sampleCount) ^ tagWord) >>> 0;
}

// Reads and checks the header at the start of `bytes` (at least
// HEADER_BYTES long). Throws ClipError naming what is wrong.
export function readStreamHeader(bytes) {
  for (let i = 0; i < BANNER_START.length; ++i) {
    if (bytes[i] !== BANNER_START.charCodeAt(i)) {
      throw new ClipError('not a Z&V Tavelworks stream file (its banner is missing)');
    }
  }
  const endOfText = bytes.subarray(0, BANNER_BYTES).indexOf(END_OF_TEXT);
  if (endOfText < 0 || endOfText + 1 >= BANNER_BYTES || bytes[endOfText + 1] !== 0) {
    throw new ClipError('the stream header is damaged (its banner text does not end)');
  }
  const view = new DataView(bytes.buffer, bytes.byteOffset, HEADER_BYTES);
  const header = {
    banner: String.fromCharCode(...bytes.subarray(0, endOfText)),
    codecTag: view.getUint16(128, true),
    encoderVersion: view.getUint32(130, true),
    codecVersion: view.getUint32(134, true),
    sampleCount: view.getUint32(138, true),
    sampleRate: view.getUint32(142, true),
    dataBytes: view.getUint32(146, true),
    checkWord: view.getUint32(150, true),
  };
  const expected = computeCheckWord(header.sampleCount, header.dataBytes, header.codecTag);
  if (header.checkWord !== expected) {
    throw new ClipError('the stream header is damaged (its check word is wrong)');
  }
  header.codec = CODECS.get(header.codecTag);
  if (!header.codec) {
    throw new ClipError(`the clip was made with codec ${header.codecTag}, which this player does not have`);
  }
  return header;
}
