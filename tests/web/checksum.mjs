// The checksum that ends every save and replay code: FNV-1a over the bytes before it, for tests
// that craft or edit one.
export function checksum(bytes) {
  let hash = 2166136261;
  for (const byte of bytes)
    hash = Math.imul(hash ^ byte, 16777619);
  return hash >>> 0;
}
