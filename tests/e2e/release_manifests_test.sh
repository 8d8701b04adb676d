#!/usr/bin/env bash
# What packagers get, in the build folder $1: SHA256SUMS holds the downloads' hashes, and the winget
# manifests (read with a YAML parser) and the Scoop manifest (JSON) name the same hashes, the
# version, both installer scopes with their silent switches, and the installer's Add/Remove key.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$1"
sha256sum --quiet -c SHA256SUMS
# Debian's Python, which has the YAML parser (python3-yaml).
/usr/bin/python3 - "$top/release/installer.nsi" <<'PYTHON'
import glob, hashlib, json, re, sys, yaml, zipfile

def sha256(name):
    return hashlib.sha256(open(name, 'rb').read()).hexdigest()

def check(condition, what):
    if not condition:
        sys.exit('FAIL: ' + what)

setup, = glob.glob('Vorkelm-*-win64-setup.exe')
archive, = glob.glob('Vorkelm-*-win64.zip')
sums = dict(reversed(line.split()) for line in open('SHA256SUMS'))
check(sums == {setup: sha256(setup), archive: sha256(archive)}, 'SHA256SUMS names other files or hashes')
version = setup.split('-')[1]
key = re.search(r'!define UNINSTALL_KEY ".*\\(.+)"', open(sys.argv[1], encoding='utf-8').read()).group(1)

manifests = {}
for name in glob.glob(f'Vorkelm-{version}-winget/*.yaml'):
    manifest = yaml.safe_load(open(name, encoding='utf-8'))
    check(manifest['PackageVersion'] == version and manifest['ManifestVersion'] == '1.6.0', name)
    manifests[manifest['ManifestType']] = manifest
check(sorted(manifests) == ['defaultLocale', 'installer', 'version'], 'the winget set is not complete')
check(len({m['PackageIdentifier'] for m in manifests.values()}) == 1, 'winget identifiers differ')
installer = manifests['installer']
check(installer['ProductCode'] == key, 'winget names another product code than the Add/Remove key')
scopes = {}
for entry in installer['Installers']:
    check(entry['InstallerSha256'].lower() == sha256(setup) and entry['InstallerUrl'].endswith('/' + setup),
          'a winget installer names another download or hash')
    check(entry['InstallerSwitches']['Silent'] == '/S', 'a winget installer lacks its silent switch')
    scopes[entry['Scope']] = entry['InstallerSwitches']['Custom']
check(scopes == {'machine': '/AllUsers', 'user': '/CurrentUser'}, 'winget scopes: %s' % scopes)

scoop = json.load(open('vorkelm.json', encoding='utf-8'))
check(scoop['version'] == version and scoop['hash'] == sha256(archive) and scoop['url'].endswith('/' + archive),
      'the Scoop manifest names another version, download or hash')
check(scoop['extract_dir'] + '/' + scoop['bin'] in zipfile.ZipFile(archive).namelist(),
      'the Scoop manifest names a program that the zip does not hold')
print(f'{setup}, {archive}: hashes, winget set and Scoop manifest agree')
PYTHON
