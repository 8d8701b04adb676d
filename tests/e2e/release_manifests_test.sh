#!/usr/bin/env bash
# What packagers get, in the build folder $1, with the addresses of its release.conf. SHA256SUMS
# holds the downloads' hashes. Nothing written names a placeholder address: not the manifests, not
# a file in the zip, not a string inside the installer's compressed data. Without an address for
# the downloads the target writes no manifest and says why. With one, the winget manifests (read
# with a YAML parser) name that version's installer, its hash, both scopes with their silent
# switches and entry names, the installer's Add/Remove key, its exit codes and the home page where
# there is one; with a home page too, the Scoop manifest (JSON) names the zip of that version for
# 64-bit Windows, its hash, and how checkver and autoupdate find the next one.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$1"
sha256sum --quiet -c SHA256SUMS
said=$(bash "$top/release/manifests.sh" release/release.conf .)
# Debian's Python, which has the YAML parser (python3-yaml).
/usr/bin/python3 - "$top/release/installer.nsi" release/release.conf "$said" <<'PYTHON'
import glob, hashlib, json, lzma, re, shlex, struct, sys, yaml, zipfile

def sha256(data):
    return hashlib.sha256(data).hexdigest()

def check(condition, what):
    if not condition:
        sys.exit('FAIL: ' + what)

conf = {}
for line in open(sys.argv[2], encoding='utf-8'):
    if re.match(r'^[a-z_]+=', line):
        name, value = line.rstrip('\n').split('=', 1)
        conf[name] = shlex.split(value)[0] if shlex.split(value) else ''
version, base, homepage, said = conf['version'], conf['url_base'].rstrip('/'), conf['homepage'], sys.argv[3]
setup, archive = f'Vorkelm-{version}-win64-setup.exe', f'Vorkelm-{version}-win64.zip'
setup_bytes = open(setup, 'rb').read()
sums = dict(reversed(line.split()) for line in open('SHA256SUMS'))
check(sums == {setup: sha256(setup_bytes), archive: sha256(open(archive, 'rb').read())},
      'SHA256SUMS names other files or hashes')

# The installer's data: one LZMA stream (SetCompressor /SOLID lzma) after the first header, its
# 5 bytes of properties first. The strings of its script are UTF-16.
def installer_data(exe):
    at = exe.index(b'\xef\xbe\xad\xdeNullsoftInst') - 4
    stream = exe[at + 28:]
    props = stream[0]
    decoder = lzma.LZMADecompressor(lzma.FORMAT_RAW, filters=[{
        'id': lzma.FILTER_LZMA1, 'lc': props % 9, 'lp': props // 9 % 5, 'pb': props // 45,
        'dict_size': struct.unpack_from('<I', stream, 1)[0]}])
    out = []
    for start in range(5, len(stream), 1 << 16):
        try:
            out.append(decoder.decompress(stream[start:start + (1 << 16)]))
        except lzma.LZMAError:
            break # what follows the stream: the checksum and any signature
    return b''.join(out)

written = {name: open(name, 'rb').read() for name in
           ['SHA256SUMS', 'vorkelm.exe'] + glob.glob('Vorkelm-*-winget/*') + glob.glob('vorkelm.json')}
written.update({f'{archive}:{name}': data for name, data in
                ((n, zipfile.ZipFile(archive).read(n)) for n in zipfile.ZipFile(archive).namelist())})
written[f'{setup} (its data)'] = installer_data(setup_bytes)
check('vorkelm.exe'.encode('utf-16-le') in written[f'{setup} (its data)'],
      'the installer\'s data could not be read')
for name, data in written.items():
    check(b'example.invalid' not in data and 'example.invalid'.encode('utf-16-le') not in data,
          f'{name} names a placeholder address')

manifests = {}
for name in glob.glob(f'Vorkelm-{version}-winget/*.yaml'):
    manifest = yaml.safe_load(open(name, encoding='utf-8'))
    check(manifest['PackageVersion'] == version and manifest['ManifestVersion'] == '1.6.0', name)
    manifests[manifest['ManifestType']] = manifest
if not base:
    check(not manifests and not glob.glob('vorkelm.json'), 'manifests written without an address')
    check('RELEASE_URL_BASE' in said, 'the target does not say why it wrote no manifest: ' + said)
    print(f'{setup}, {archive}: hashes agree; no manifest without an address, and no placeholder')
    sys.exit(0)

check(sorted(manifests) == ['defaultLocale', 'installer', 'version'], 'the winget set is not complete')
check(len({m['PackageIdentifier'] for m in manifests.values()}) == 1, 'winget identifiers differ')
locale = manifests['defaultLocale']
check(locale.get('PublisherUrl') == locale.get('PackageUrl') == (homepage or None),
      'winget names another home page than the release: %s' % locale)
installer = manifests['installer']
key = re.search(r'!define UNINSTALL_KEY ".*\\(.+)"', open(sys.argv[1], encoding='utf-8').read()).group(1)
check(installer['ProductCode'] == key, 'winget names another product code than the Add/Remove key')
check(installer['UpgradeBehavior'] == 'install', 'winget does not upgrade in place')
check({c['InstallerReturnCode']: c['ReturnResponse'] for c in installer['ExpectedReturnCodes']} ==
      {1: 'cancelledByUser', 3: 'packageInUse'}, 'winget reads other exit codes')
scopes = {}
for entry in installer['Installers']:
    check(entry['InstallerSha256'].lower() == sha256(setup_bytes) and
          entry['InstallerUrl'] == f'{base}/v{version}/{setup}',
          'a winget installer names another download or hash: ' + entry['InstallerUrl'])
    check(entry['InstallerSwitches']['Silent'] == '/S', 'a winget installer lacks its silent switch')
    listed, = entry['AppsAndFeaturesEntries']
    scopes[entry['Scope']] = (entry['InstallerSwitches']['Custom'], listed['DisplayName'], listed['ProductCode'])
check(scopes == {'machine': ('/AllUsers', conf['title'], key), 'user': ('/CurrentUser', conf['user_title'], key)},
      'winget scopes: %s' % scopes)

if not homepage:
    check(not glob.glob('vorkelm.json') and 'RELEASE_HOMEPAGE' in said,
          'a Scoop manifest without a home page, or no word why there is none: ' + said)
    print(f'{setup}: hashes and winget set agree; no Scoop manifest without a home page')
    sys.exit(0)
scoop = json.load(open('vorkelm.json', encoding='utf-8'))
download = scoop['architecture']['64bit']
check(scoop['version'] == version and scoop['homepage'] == homepage and
      download['hash'] == sha256(open(archive, 'rb').read()) and download['url'] == f'{base}/v{version}/{archive}',
      'the Scoop manifest names another version, home page, download or hash')
check(download['extract_dir'] + '/' + scoop['bin'] in zipfile.ZipFile(archive).namelist(),
      'the Scoop manifest names a program that the zip does not hold')
check(scoop['checkver']['url'] == homepage and re.fullmatch(scoop['checkver']['regex'], archive)[1] == version,
      'Scoop\'s checkver does not find this version\'s zip on the home page')
update = scoop['autoupdate']['architecture']['64bit']
check(update['url'].replace('$version', version) == download['url'] and
      update['extract_dir'].replace('$version', version) == download['extract_dir'] and
      update['hash']['url'] == '$baseurl/SHA256SUMS', 'Scoop\'s autoupdate names other files')
print(f'{setup}, {archive}: hashes, winget set and Scoop manifest agree, with no placeholder')
PYTHON
