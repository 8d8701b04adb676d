#!/usr/bin/env bash
# Writes what packagers start from, beside the two downloads in OUT_DIR: SHA256SUMS, the winget
# manifest set (schema 1.6) in Vorkelm-VERSION-winget/ and the Scoop manifest vorkelm.json.
# CONFIG is the release.conf that CMake writes.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 CONFIG OUT_DIR" >&2
    exit 2
fi
source "$1"
cd "$2"
zip=Vorkelm-$version-win64.zip
setup=Vorkelm-$version-win64-setup.exe
id=VorkelmDevelopers.Vorkelm
# The installer's Add/Remove entry, in HKLM for every user and in HKCU for one.
product_code=Vorkelm
description="A coin pusher arcade game: drop coins, push them over the edge, win the lamp lottery."

sha256sum "$zip" "$setup" >SHA256SUMS
hash_of() { sha256sum "$1" | cut -d ' ' -f 1; }
zip_hash=$(hash_of "$zip")
setup_hash=$(hash_of "$setup")
setup_hash_upper=$(tr a-f A-F <<<"$setup_hash")

winget=Vorkelm-$version-winget
rm -rf "$winget"
mkdir "$winget"
cat >"$winget/$id.yaml" <<EOF
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.version.1.6.0.schema.json
PackageIdentifier: $id
PackageVersion: $version
DefaultLocale: en-US
ManifestType: version
ManifestVersion: 1.6.0
EOF
cat >"$winget/$id.locale.en-US.yaml" <<EOF
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.defaultLocale.1.6.0.schema.json
PackageIdentifier: $id
PackageVersion: $version
PackageLocale: en-US
Publisher: "$publisher"
PublisherUrl: $homepage
PackageName: "$title"
PackageUrl: $homepage
License: MIT
Copyright: "$copyright"
ShortDescription: "$description"
Tags:
  - game
  - arcade
  - coin-pusher
ManifestType: defaultLocale
ManifestVersion: 1.6.0
EOF
# One installer for each scope; exit code 3 means that the game is running.
installer() {
    cat <<EOF
  - Architecture: x64
    Scope: $1
    InstallerUrl: $url_base/$setup
    InstallerSha256: $setup_hash_upper
    InstallerSwitches:
      Silent: /S
      SilentWithProgress: /S
      InstallLocation: /D=<INSTALLPATH>
      Custom: $2
EOF
}
cat >"$winget/$id.installer.yaml" <<EOF
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.installer.1.6.0.schema.json
PackageIdentifier: $id
PackageVersion: $version
InstallerType: nullsoft
InstallModes:
  - interactive
  - silent
  - silentWithProgress
UpgradeBehavior: install
ProductCode: $product_code
ExpectedReturnCodes:
  - InstallerReturnCode: 3
    ReturnResponse: packageInUse
AppsAndFeaturesEntries:
  - DisplayName: "$title"
    Publisher: "$publisher"
    DisplayVersion: $version
    ProductCode: $product_code
Installers:
$(installer machine /AllUsers)
    ElevationRequirement: elevatesSelf
$(installer user /CurrentUser)
ManifestType: installer
ManifestVersion: 1.6.0
EOF

# Scoop installs the zip as it is: the game runs from its folder and writes nothing.
cat >vorkelm.json <<EOF
{
    "version": "$version",
    "description": "$description",
    "homepage": "$homepage",
    "license": "MIT",
    "url": "$url_base/$zip",
    "hash": "$zip_hash",
    "extract_dir": "Vorkelm-$version-win64",
    "bin": "vorkelm.exe",
    "shortcuts": [["vorkelm.exe", "$title"]]
}
EOF
