#!/usr/bin/env bash
# Writes what packagers start from, beside the two downloads in OUT_DIR: SHA256SUMS, and where the
# release has the address of its downloads, the winget manifest set (schema 1.6) in
# Vorkelm-VERSION-winget/ and, given a home page too, the Scoop manifest vorkelm.json. Each
# version's downloads are published under URL_BASE/vVERSION/, with SHA256SUMS beside them.
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
winget=Vorkelm-$version-winget
# The installer's Add/Remove entry, in HKLM for every user and in HKCU for one.
product_code=Vorkelm
description="A coin pusher arcade game: drop coins, push them over the edge, win the lamp lottery."

sha256sum "$zip" "$setup" >SHA256SUMS
# Packagers' checks reject a manifest whose addresses lead nowhere: none is written without them.
rm -rf "$winget" vorkelm.json
if [ -z "$url_base" ]; then
    echo "manifests: none written, as RELEASE_URL_BASE names no address for the downloads (-DRELEASE_URL_BASE=https://...)"
    exit 0
fi
downloads=${url_base%/}/v$version
hash_of() { sha256sum "$1" | cut -d ' ' -f 1; }
setup_hash_upper=$(hash_of "$setup" | tr a-f A-F)

mkdir "$winget"
cat >"$winget/$id.yaml" <<END
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.version.1.6.0.schema.json
PackageIdentifier: $id
PackageVersion: $version
DefaultLocale: en-US
ManifestType: version
ManifestVersion: 1.6.0
END
{
    cat <<END
# yaml-language-server: \$schema=https://aka.ms/winget-manifest.defaultLocale.1.6.0.schema.json
PackageIdentifier: $id
PackageVersion: $version
PackageLocale: en-US
Publisher: "$publisher"
END
    [ -z "$homepage" ] || echo "PublisherUrl: $homepage"
    echo "PackageName: \"$title\""
    [ -z "$homepage" ] || echo "PackageUrl: $homepage"
    cat <<END
License: MIT
Copyright: "$copyright"
ShortDescription: "$description"
Tags:
  - game
  - arcade
  - coin-pusher
ManifestType: defaultLocale
ManifestVersion: 1.6.0
END
} >"$winget/$id.locale.en-US.yaml"
# One installer for each scope, each with the name its Add/Remove entry shows.
installer() {
    cat <<END
  - Architecture: x64
    Scope: $1
    InstallerUrl: $downloads/$setup
    InstallerSha256: $setup_hash_upper
    InstallerSwitches:
      Silent: /S
      SilentWithProgress: /S
      InstallLocation: /D=<INSTALLPATH>
      Custom: $2
    AppsAndFeaturesEntries:
      - DisplayName: "$3"
        Publisher: "$publisher"
        DisplayVersion: $version
        ProductCode: $product_code
END
}
# The installer upgrades an installation in place, so winget runs it over the old one. Its exit
# codes besides 0: 1 cancelled by the player, 2 failed, 3 the game is running; nothing changed.
cat >"$winget/$id.installer.yaml" <<END
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
  - InstallerReturnCode: 1
    ReturnResponse: cancelledByUser
  - InstallerReturnCode: 3
    ReturnResponse: packageInUse
Installers:
$(installer machine /AllUsers "$title")
    ElevationRequirement: elevatesSelf
$(installer user /CurrentUser "$user_title")
ManifestType: installer
ManifestVersion: 1.6.0
END

if [ -z "$homepage" ]; then
    echo "manifests: no Scoop manifest, as Scoop's needs a home page (-DRELEASE_HOMEPAGE=https://...)"
    exit 0
fi
# Scoop installs the zip as it is: the game runs from its folder and writes nothing. Its checkver
# finds the newest version where the home page links a zip; autoupdate takes that version's zip
# and its hash from the SHA256SUMS beside it.
cat >vorkelm.json <<END
{
    "version": "$version",
    "description": "$description",
    "homepage": "$homepage",
    "license": "MIT",
    "architecture": {
        "64bit": {
            "url": "$downloads/$zip",
            "hash": "$(hash_of "$zip")",
            "extract_dir": "Vorkelm-$version-win64"
        }
    },
    "bin": "vorkelm.exe",
    "shortcuts": [["vorkelm.exe", "$title"]],
    "checkver": {
        "url": "$homepage",
        "regex": "Vorkelm-([\\\\d.]+)-win64\\\\.zip"
    },
    "autoupdate": {
        "architecture": {
            "64bit": {
                "url": "${url_base%/}/v\$version/Vorkelm-\$version-win64.zip",
                "hash": {
                    "url": "\$baseurl/SHA256SUMS"
                },
                "extract_dir": "Vorkelm-\$version-win64"
            }
        }
    }
}
END
