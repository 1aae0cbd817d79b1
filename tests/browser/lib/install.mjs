// Orbisk installed as a user installs it, with its installer: a program
// folder with Orbisk.exe, OrbiskHost.exe, the launchers and the extension
// folder the user loads into the browser, and the host registered. Everything a test does after
// installOrbisk() sees only that folder, so the way the folder comes about
// can change without touching the test.
import fs from 'node:fs';
import path from 'node:path';

import { HOST_NAME } from './browsers.mjs';
import { winPath } from './wine.mjs';

// The installer the Windows build made (Orbisk-<version>-setup.exe).
function installerOf(world) {
  const folder = world.buildFile('packaging');
  const name = fs.readdirSync(folder).find((file) => /^Orbisk-.*-setup\.exe$/.test(file));
  if (!name) throw new Error(`no installer in ${folder}`);
  return path.join(folder, name);
}

// Installs Orbisk into world.programDir, which must not exist yet or is
// replaced, with the installer run silently under Wine as a user would run
// it, and returns the installed extension folder.
export async function installOrbisk(world) {
  fs.rmSync(world.programDir, { recursive: true, force: true });
  // /D= comes last and unquoted, as NSIS wants it.
  const code = await world.run(installerOf(world), ['/S', `/D=${winPath(world.programDir)}`], { cwd: world.work });
  if (code !== 0) throw new Error(`the installer ended with ${code}`);
  const extensionDir = path.join(world.programDir, 'extension');
  for (const file of ['Orbisk.exe', 'OrbiskHost.exe', 'extension/manifest.json']) {
    if (!fs.existsSync(path.join(world.programDir, file))) throw new Error(`the installer put no ${file} in place`);
  }
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
