// Orbisk installed as a user has it: a program folder with Orbisk.exe,
// OrbiskHost.exe and the extension folder the user loads into the browser,
// and the host registered for the browser. Everything a test does after
// installOrbisk() sees only that folder, so the way the folder comes about
// can change without touching the test.
import fs from 'node:fs';
import path from 'node:path';

import { HOST_NAME } from './browsers.mjs';

// What an installation puts into the program folder, relative to the Windows
// build; the extension folder comes from the source tree as it ships.
const PROGRAM_FILES = [
  ['mainwindow', 'Orbisk.exe'],
  ['mainwindow', 'OrbiskHost.exe'],
];

// Installs Orbisk into world.programDir, which must not exist yet or is
// replaced, and returns the installed extension folder.
//
// The folder is staged here file by file. An installer run silently under
// Wine (`Orbisk-<version>-setup.exe /S /D=<folder>`, through world.run) is
// to take this function's place; whatever it puts there is then what the
// test finds.
export function installOrbisk(world, { shippedExtension }) {
  fs.rmSync(world.programDir, { recursive: true, force: true });
  fs.mkdirSync(world.programDir, { recursive: true });
  for (const parts of PROGRAM_FILES) {
    fs.copyFileSync(world.buildFile(...parts), path.join(world.programDir, parts.at(-1)));
  }
  const extensionDir = path.join(world.programDir, 'extension');
  fs.cpSync(shippedExtension, extensionDir, { recursive: true });
  return { extensionDir };
}

// What `OrbiskHost.exe /register` does for Chromium on Windows, done for
// Chromium here: the host writes its manifests beside itself, and this
// Chromium finds the one meant for it in <user-data-dir>/NativeMessagingHosts/
// instead of through the registry. Its `path` is the wrapper that runs the
// installed host under Wine. Returns the manifest as placed.
export async function registerForChromium(world, profileDir) {
  const manifests = await world.register();
  if (!manifests.chromium) throw new Error('OrbiskHost.exe /register wrote no manifest for Chromium');
  world.writeHostWrapper();
  const hostsDir = path.join(profileDir, 'NativeMessagingHosts');
  fs.mkdirSync(hostsDir, { recursive: true });
  const manifest = { ...manifests.chromium, path: world.hostWrapper };
  fs.writeFileSync(path.join(hostsDir, `${HOST_NAME}.json`), JSON.stringify(manifest));
  return manifest;
}

// Adds catalogue items as Orbisk's edit dialog saves them. The test's
// catalogue tool is Orbisk's own catalogue code; it reads and writes the
// files of the Orbisk.exe it stands in for only under that name in that
// folder, so the installed Orbisk.exe steps aside while it runs and is put
// back afterwards, unchanged.
export async function addItemsAsOrbisk(world, items) {
  const installed = path.join(world.programDir, 'Orbisk.exe');
  const aside = path.join(world.programDir, 'Orbisk.exe.installed');
  fs.renameSync(installed, aside);
  try {
    fs.copyFileSync(world.buildFile('tests', 'browser', 'browser_catalogue.exe'), installed);
    for (const item of items) await world.addItem(item);
  } finally {
    fs.rmSync(installed, { force: true });
    fs.renameSync(aside, installed);
  }
}
