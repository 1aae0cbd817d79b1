#!/usr/bin/env python3
"""check_release.py <Windows build folder> <output folder>

Makes the release packages with scripts/package-release.sh into the output
folder and checks what a user or a store would get: every package present
and nothing else, the sums right, the programs those of the build, the
extension exactly the shipped folder (the stores' copies without "key" and
what their browsers do not read), no trace of the browser tests' hook, and
`web-ext lint` without errors or warnings on the Firefox package as it was
packed.
"""
import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SHIPPED = os.path.join(ROOT, 'bridge', 'extension')
HOOK = os.path.join(ROOT, 'tests', 'browser', 'hook')
PROGRAMS = {
    'Orbisk.exe': 'mainwindow', 'OrbiskHost.exe': 'mainwindow',
    'Jotwell.exe': 'launchers/jotwell', 'Fetchbay.exe': 'launchers/fetchbay',
    'Pagewatch.exe': 'launchers/pagewatch', 'Clipsy.exe': 'launchers/clipsy',
}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def files_below(folder):
    found = {}
    for base, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(base, name)
            found[os.path.relpath(path, folder).replace(os.sep, '/')] = read(path)
    return found


def zip_files(path):
    with zipfile.ZipFile(path) as archive:
        return {info.filename: archive.read(info) for info in archive.infolist() if not info.is_dir()}


def hook_markers():
    """What the hook adds: its top-level names and its globalThis entries."""
    markers = set()
    for name in os.listdir(HOOK):
        text = read(os.path.join(HOOK, name)).decode('utf-8')
        for found in re.findall(r'^(?:const|let|var|function)\s+(\w+)', text, re.M):
            markers.add(re.compile(rb'\b' + found.encode() + rb'\b'))
        for found in re.findall(r'globalThis\.(\w+)\s*=', text):
            markers.add(re.compile(rb'globalThis\.' + found.encode() + rb'\s*='))
    assert markers, 'no marks of the hook found in ' + HOOK
    return markers


# What each store's package leaves out of the shipped extension: the files
# that explain the unpacked folder's key, and the manifest keys its browser
# does not read.
STORE_DROPS = {
    'chromium': {'files': {'key.txt', 'README.md'}, 'keys': ['key', 'background.scripts',
                                                          'browser_specific_settings']},
    'firefox': {'files': {'key.txt', 'README.md'}, 'keys': ['key', 'background.service_worker']},
}


def without_keys(manifest, dotted_keys):
    for dotted in dotted_keys:
        *parents, last = dotted.split('.')
        holder = manifest
        for parent in parents:
            holder = holder.get(parent, {})
        holder.pop(last, None)
    return manifest


def check_extension(label, files, store=None):
    """files: the package's extension; store: None for the folder users load."""
    shipped = files_below(SHIPPED)
    drops = STORE_DROPS[store] if store else {'files': set(), 'keys': []}
    expected_files = sorted(set(shipped) - drops['files'])
    check(sorted(files) == expected_files,
          f'{label}: files {sorted(files)} are not the shipped extension\'s {expected_files}')
    for name, data in shipped.items():
        if name == 'manifest.json' or name not in files:
            continue
        check(files[name] == data, f'{label}: {name} differs from bridge/extension/{name}')
    if not store:
        check(files.get('manifest.json') == shipped['manifest.json'],
              f'{label}: manifest.json differs from the shipped one')
    else:
        manifest = json.loads(files.get('manifest.json', b'{}'))
        expected = without_keys(json.loads(shipped['manifest.json']), drops['keys'])
        check(manifest == expected,
              f'{label}: manifest.json is not the shipped one without {", ".join(drops["keys"])}')
    for name, data in files.items():
        for marker in hook_markers():
            check(not marker.search(data), f'{label}: {name} holds the test hook\'s {marker.pattern.decode()}')


def main():
    build, out = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    subprocess.run(['bash', os.path.join(ROOT, 'scripts', 'package-release.sh'), build, out], check=True)

    cache = read(os.path.join(build, 'CMakeCache.txt')).decode()
    version = re.search(r'^CMAKE_PROJECT_VERSION:\w+=(.+)$', cache, re.M).group(1)
    names = {f'Orbisk-{version}-setup.exe', f'Orbisk-{version}-portable.zip',
             f'Orbisk-{version}-extension-chromium.zip', f'Orbisk-{version}-extension-firefox.zip'}
    check(set(os.listdir(out)) == names | {'SHA256SUMS'}, f'dist holds {sorted(os.listdir(out))}')

    # Each package once in the sums, with its sum.
    listed = {}
    for line in read(os.path.join(out, 'SHA256SUMS')).decode().splitlines():
        digest, name = line.split(None, 1)
        check(name.lstrip('*') not in listed, f'SHA256SUMS lists {name} twice')
        listed[name.lstrip('*')] = digest
    check(set(listed) == names, f'SHA256SUMS lists {sorted(listed)}')
    for name, digest in listed.items():
        path = os.path.join(out, name)
        if check(os.path.isfile(path), f'{name} listed but missing'):
            check(hashlib.sha256(read(path)).hexdigest() == digest, f'SHA256SUMS is wrong for {name}')

    # The installer: the build's, a 64-bit Windows program (PE32+, x86-64).
    setup = read(os.path.join(out, f'Orbisk-{version}-setup.exe'))
    check(setup == read(os.path.join(build, 'packaging', f'Orbisk-{version}-setup.exe')),
          'the installer is not the build\'s')
    pe = int.from_bytes(setup[0x3C:0x40], 'little')
    check(setup[:2] == b'MZ' and setup[pe:pe + 6] == b'PE\0\0\x64\x86', 'the installer is not an x86-64 program')

    # Portable: one folder, the programs of the build and the extension as shipped.
    portable = zip_files(os.path.join(out, f'Orbisk-{version}-portable.zip'))
    top = f'Orbisk-{version}/'
    check(all(name.startswith(top) for name in portable), f'portable: not all below {top}')
    for program, folder in PROGRAMS.items():
        check(portable.get(top + program) == read(os.path.join(build, folder, program)),
              f'portable: {program} is not the build\'s')
    extension = {name[len(top + 'extension/'):]: data for name, data in portable.items()
                 if name.startswith(top + 'extension/')}
    check(len(portable) == len(PROGRAMS) + len(extension), f'portable: other files in {sorted(portable)}')
    check_extension('portable', extension)

    for store in ('chromium', 'firefox'):
        check_extension(store, zip_files(os.path.join(out, f'Orbisk-{version}-extension-{store}.zip')),
                        store)

    # The Firefox package as packed, unpacked again, through Mozilla's linter.
    with tempfile.TemporaryDirectory() as unpacked:
        with zipfile.ZipFile(os.path.join(out, f'Orbisk-{version}-extension-firefox.zip')) as archive:
            archive.extractall(unpacked)
        lint = subprocess.run([os.path.join(ROOT, 'packaging', 'node_modules', '.bin', 'web-ext'), 'lint',
                               '--source-dir', unpacked, '--output', 'json'],
                              capture_output=True, text=True)
        report = json.loads(lint.stdout)
        check(report['summary']['errors'] == 0 and report['summary']['warnings'] == 0,
              'web-ext lint: ' + json.dumps(report['errors'] + report['warnings'], ensure_ascii=False))
        print('web-ext lint:', report['summary'])

    for name in sorted(os.listdir(out)):
        print(f'{os.path.getsize(os.path.join(out, name)):>10}  {name}')
    for failure in failures:
        print('FAILED:', failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
