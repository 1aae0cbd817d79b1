// A virtual screen of its own for a browser with a window, and the user's
// hands on it: the real pointer and keyboard through xdotool, and pictures
// of the screen through ImageMagick's import.
import { execFile, spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

import { waitFor } from './browsers.mjs';

const IMPORT = '/usr/bin/import';

export class Desktop {
  // Starts Xvfb on the first free display; resolves once it takes clients.
  static async start({ width, height }) {
    const server = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', `${width}x${height}x24`, '-nolisten', 'tcp'], {
      stdio: ['ignore', 'ignore', 'pipe', 'pipe'],
    });
    let errors = '';
    server.stderr.on('data', (chunk) => {
      errors += chunk;
    });
    // Xvfb writes the display number to that descriptor once it is ready.
    const number = await new Promise((resolve, reject) => {
      let text = '';
      server.stdio[3].on('data', (chunk) => {
        text += chunk;
        if (text.includes('\n')) resolve(text.trim());
      });
      server.on('exit', (code) => reject(new Error(`Xvfb ended with ${code}: ${errors}`)));
      server.on('error', reject);
    });
    return new Desktop(server, `:${number}`, { width, height });
  }

  constructor(server, display, size) {
    this.server = server;
    this.display = display;
    this.size = size;
    this.env = { ...process.env, DISPLAY: display };
  }

  run(program, args, { encoding = 'utf8' } = {}) {
    return new Promise((resolve, reject) => {
      execFile(program, args, { env: this.env, encoding, maxBuffer: 64 * 1024 * 1024 }, (error, stdout, stderr) => {
        if (error) reject(new Error(`${program} ${args.join(' ')}: ${error.message} ${stderr}`));
        else resolve(stdout);
      });
    });
  }

  xdotool(...args) {
    return this.run('xdotool', args.map(String));
  }

  // Ids of the windows now shown on the screen; a menu is one of them.
  async visibleWindows() {
    // "search" exits with 1 when nothing matches.
    const out = await this.xdotool('search', '--onlyvisible', '--name', '').catch(() => '');
    return out.split('\n').filter(Boolean);
  }

  async geometry(window) {
    const out = await this.xdotool('getwindowgeometry', '--shell', window);
    const value = (name) => Number(out.match(new RegExp(`^${name}=(-?\\d+)$`, 'm'))[1]);
    return { x: value('X'), y: value('Y'), width: value('WIDTH'), height: value('HEIGHT') };
  }

  // The screen's pixels in a rectangle, as a function (x, y) => [r, g, b]
  // of coordinates inside it.
  async pixels({ x, y, width, height }) {
    const raw = await this.run(IMPORT, ['-window', 'root', '-crop', `${width}x${height}+${x}+${y}`, '-depth', '8', 'rgb:-'], {
      encoding: 'buffer',
    });
    if (raw.length !== width * height * 3) throw new Error(`import gave ${raw.length} bytes for ${width}x${height}`);
    return (px, py) => {
      const at = (py * width + px) * 3;
      return [raw[at], raw[at + 1], raw[at + 2]];
    };
  }

  screenshot(file) {
    return this.run(IMPORT, ['-window', 'root', file]);
  }

  close() {
    if (this.server.exitCode !== null || this.server.signalCode !== null) return Promise.resolve();
    const ended = new Promise((resolve) => this.server.on('exit', resolve));
    this.server.kill('SIGTERM');
    return ended;
  }
}

// Chromium with a window on `desktop`, as a user starts it, plus the
// DevTools endpoint it opens on loopback for the test to look into pages.
export async function startWindowedChromium(desktop, { profileDir, extensionDir, url, logFile }) {
  const args = [
    '--no-sandbox',
    `--user-data-dir=${profileDir}`,
    `--load-extension=${extensionDir}`,
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
    '--no-first-run',
    '--no-default-browser-check',
    '--password-store=basic',
    '--window-position=0,0',
    `--window-size=${desktop.size.width},${desktop.size.height}`,
    '--remote-debugging-port=0',
    '--lang=ja',
    url,
  ];
  // Chromium here may have no Japanese for its own texts; it would then
  // offer to translate a Japanese page, and that offer can open over the
  // menu. A user who reads Japanese says so once in the settings.
  const preferences = path.join(profileDir, 'Default', 'Preferences');
  fs.mkdirSync(path.dirname(preferences), { recursive: true });
  fs.writeFileSync(preferences, JSON.stringify({ intl: { accept_languages: 'ja,en-US,en' }, translate: { enabled: false } }));
  const log = fs.openSync(logFile, 'a');
  // A process group of its own, so that closing ends its helpers too.
  const child = spawn('/usr/bin/chromium', args, { env: desktop.env, stdio: ['ignore', log, log], detached: true });
  fs.closeSync(log);
  const exited = new Promise((resolve) => child.on('exit', resolve));
  const close = async () => {
    if (child.exitCode !== null || child.signalCode !== null) return;
    try {
      process.kill(-child.pid, 'SIGTERM');
    } catch {
      return;
    }
    const timer = setTimeout(() => {
      try {
        process.kill(-child.pid, 'SIGKILL');
      } catch {
        // Already gone.
      }
    }, 5000);
    await exited;
    clearTimeout(timer);
  };
  try {
    // Chromium names the port it chose in this file once it listens.
    const portFile = `${profileDir}/DevToolsActivePort`;
    const [port, wsPath] = await waitFor('Chromium\'s DevTools port', () => {
      if (child.exitCode !== null) throw new Error(`Chromium ended with ${child.exitCode}; see ${logFile}`);
      const lines = fs.existsSync(portFile) ? fs.readFileSync(portFile, 'utf8').split('\n') : [];
      return lines.length >= 2 && lines[1] ? lines : null;
    }, 30000);
    return { endpoint: `ws://127.0.0.1:${port}${wsPath}`, close };
  } catch (error) {
    await close();
    throw error;
  }
}
