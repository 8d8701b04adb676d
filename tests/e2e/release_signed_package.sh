#!/usr/bin/env bash
# The release signed and with addresses of its own, made in the second build folder $2 (the one
# that the reproducibility check made from the same sources as $1): a throwaway self-signed
# code-signing certificate from openssl, then the package target with SIGN_PFX,
# SIGN_PASSWORD_FILE and an address for the downloads and the home page. vorkelm.exe in the zip
# and the installer must verify against that certificate; the uninstaller is checked once
# installed (release_signed_test.sh), which also finds the certificate in $2/test-certificate.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
second=$(realpath -m "$2")
certificate=$second/test-certificate

rm -rf "$certificate"
mkdir -p "$certificate"
cd "$certificate"
openssl rand -hex 16 >password
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -keyout key.pem -out cert.pem \
    -subj "/CN=Vorkelm test signing" -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in cert.pem -out signing.pfx -passout file:password

cmake -S "$top" -B "$second" -DSIGN_PFX="$certificate/signing.pfx" \
    -DSIGN_PASSWORD_FILE="$certificate/password" -DRELEASE_URL_BASE=https://downloads.vorkelm.test/releases \
    -DRELEASE_HOMEPAGE=https://vorkelm.test >/dev/null
cmake --build "$second" --target package >/dev/null

cd "$second"
source release/release.conf
rm -rf unpacked && mkdir unpacked
(cd unpacked && cmake -E tar xf "../Vorkelm-$version-win64.zip")
for file in "unpacked/Vorkelm-$version-win64/vorkelm.exe" "Vorkelm-$version-win64-setup.exe"; do
    osslsigncode verify -CAfile "$certificate/cert.pem" -in "$file" | grep -q '^Signature verification: ok' ||
        { echo "FAIL: $file is not signed with the test certificate" >&2; exit 1; }
done
rm -rf unpacked
echo "vorkelm.exe and the installer signed; $(stat -c '%n: %s bytes' "Vorkelm-$version-win64-setup.exe")"
