// The Windows side of the browser tests: a program folder with the real
// OrbiskHost.exe, the catalogue changed as Orbisk changes it, recorder
// programs standing in for the applications, and the message boxes the host
// shows, all under Wine in the test run's shared prefix.
import { execFile, spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

export const WINE = '/usr/lib/wine/wine64';

export function winPath(unixPath) {
  return 'Z:' + path.resolve(unixPath).replaceAll('/', '\\');
}

// Single-quoted for a POSIX shell.
function shellQuote(text) {
  return `'${text.replaceAll("'", "'\\''")}'`;
}

export class WineWorld {
  // programDir: the folder that holds Orbisk.exe and OrbiskHost.exe, by
  // default one of the test's own below `work`.
  constructor({ prefix, windowsBuild, work, programDir = path.join(work, 'program') }) {
    this.prefix = prefix;
    this.windowsBuild = windowsBuild;
    this.work = work;
    this.programDir = programDir;
    this.appsDir = path.join(work, 'アプリ');
    this.env = {
      ...process.env,
      WINEPREFIX: prefix,
      WINEDEBUG: '-all',
      LANG: 'ja_JP.UTF-8',
      LC_ALL: 'ja_JP.UTF-8',
      WINEDLLOVERRIDES: 'mscoree,mshtml=',
    };
  }

  buildFile(...parts) {
    const file = path.join(this.windowsBuild, ...parts);
    if (!fs.existsSync(file)) throw new Error(`missing ${file}: build the Windows programs first`);
    return file;
  }

  // A fresh program folder holding the host, and Orbisk's catalogue code as
  // Orbisk.exe.
  setUp() {
    fs.rmSync(this.work, { recursive: true, force: true });
    fs.mkdirSync(this.programDir, { recursive: true });
    fs.mkdirSync(this.appsDir, { recursive: true });
    fs.copyFileSync(this.buildFile('mainwindow', 'OrbiskHost.exe'), path.join(this.programDir, 'OrbiskHost.exe'));
    fs.copyFileSync(this.buildFile('tests', 'browser', 'browser_catalogue.exe'), path.join(this.programDir, 'Orbisk.exe'));
    this.writeHostWrapper();
  }

  // The program a browser on this machine starts as the host: the program
  // folder's OrbiskHost.exe under Wine, its error output kept in a file.
  writeHostWrapper() {
    this.hostStderr = path.join(this.work, 'host-stderr.log');
    this.hostStartLog = path.join(this.work, 'host-starts.log');
    this.hostWrapper = path.join(this.work, 'orbisk-host.sh');
    const exports = ['WINEPREFIX', 'WINEDEBUG', 'LANG', 'LC_ALL', 'WINEDLLOVERRIDES']
      .map((name) => `${name}=${shellQuote(this.env[name])}`)
      .join(' ');
    fs.writeFileSync(
      this.hostWrapper,
      `#!/bin/sh\nexport ${exports}\necho started >>${shellQuote(this.hostStartLog)}\nexec ${WINE} ${shellQuote(path.join(this.programDir, 'OrbiskHost.exe'))} "$@" 2>>${shellQuote(this.hostStderr)}\n`,
      { mode: 0o755 },
    );
  }

  // How often a browser has started the host so far.
  hostStarts() {
    return fs.existsSync(this.hostStartLog) ? fs.readFileSync(this.hostStartLog, 'utf8').split('\n').length - 1 : 0;
  }

  // Runs a Windows program to its end; resolves with its exit code. Output
  // goes to a file: Wine's services would hold a pipe open. It is added to
  // the run's log, or, with `output`, is that file's whole content.
  // An aborted `signal` ends the program; the result is then null.
  run(exe, args = [], { cwd = path.dirname(exe), timeoutMs = 60000, signal, output } = {}) {
    const log = fs.openSync(output ?? path.join(this.work, 'wine-run.log'), output ? 'w' : 'a');
    return new Promise((resolve, reject) => {
      const child = spawn(WINE, [exe, ...args], { cwd, env: this.env, stdio: ['ignore', log, log] });
      signal?.addEventListener('abort', () => child.kill('SIGKILL'));
      const timer = setTimeout(() => {
        child.kill('SIGKILL');
        reject(new Error(`${path.basename(exe)} ${args.join(' ')} did not end in ${timeoutMs} ms`));
      }, timeoutMs);
      child.on('error', reject);
      child.on('exit', (code) => {
        clearTimeout(timer);
        fs.closeSync(log);
        resolve(signal?.aborted ? null : code);
      });
    });
  }

  // OrbiskHost.exe /register: the host manifests it writes beside itself,
  // and the message box that tells the user so (closed here).
  async register() {
    const boxes = this.watchBoxes(1);
    const code = await this.run(path.join(this.programDir, 'OrbiskHost.exe'), ['/register']);
    const [box] = await boxes;
    if (code !== 0) throw new Error(`OrbiskHost.exe /register ended with ${code}: ${box && box.text}`);
    const manifests = fs
      .readdirSync(this.programDir)
      .filter((name) => name.endsWith('.json'))
      .map((name) => JSON.parse(fs.readFileSync(path.join(this.programDir, name), 'utf8')));
    return {
      box,
      chromium: manifests.find((manifest) => Array.isArray(manifest.allowed_origins)),
      firefox: manifests.find((manifest) => Array.isArray(manifest.allowed_extensions)),
    };
  }

  // A copy of the recorder program in a folder of its own, for one item:
  // what it was started with lands beside it.
  installRecorder(folderName) {
    const dir = path.join(this.appsDir, folderName);
    fs.mkdirSync(dir, { recursive: true });
    const exe = path.join(dir, 'rec.exe');
    fs.copyFileSync(this.buildFile('tests', 'harness', 'Recorder.exe'), exe);
    return exe;
  }

  installJotwell() {
    const dir = path.join(this.appsDir, 'ジョット');
    fs.mkdirSync(dir, { recursive: true });
    const exe = path.join(dir, 'Jotwell.exe');
    fs.copyFileSync(this.buildFile('launchers', 'jotwell', 'Jotwell.exe'), exe);
    return exe;
  }

  // Adds or replaces an item as Orbisk's edit dialog would save it.
  async addItem(item) {
    const args =
      item.kind === 'fixed'
        ? ['add', item.name, 'fixed', item.text]
        : [
            'add',
            item.name,
            'launcher',
            item.application,
            item.template,
            ['page', 'image', 'link', 'selection'].map((key) => (item.contexts[key] ? '1' : '0')).join(''),
            String(item.windowStyle ?? 1),
            item.confirm ? '1' : '0',
          ];
    const code = await this.run(path.join(this.programDir, 'Orbisk.exe'), args);
    if (code !== 0) throw new Error(`adding item ${item.name} failed (${code})`);
  }

  async deleteItem(name) {
    const code = await this.run(path.join(this.programDir, 'Orbisk.exe'), ['delete', name]);
    if (code !== 0) throw new Error(`deleting item ${name} failed (${code})`);
  }

  // Starts reading the next `count` message boxes; resolves, once they were
  // seen and closed or the time ran out, with [{title, text, buttons}].
  // An aborted `signal` stops the reading early.
  watchBoxes(count, timeoutMs = 15000, signal = undefined) {
    const out = path.join(this.work, `boxes-${Date.now()}-${Math.random().toString(16).slice(2)}.jsonl`);
    const exe = this.buildFile('tests', 'browser', 'browser_boxes.exe');
    return this.run(exe, [winPath(out), String(timeoutMs), String(count)], { timeoutMs: timeoutMs + 30000, signal }).then(
      () => {
        const text = fs.existsSync(out) ? fs.readFileSync(out, 'utf8') : '';
        return text.split('\n').filter(Boolean).map((line) => JSON.parse(line));
      },
    );
  }
}

// OrbiskHost.exe on pipes of our own, as a browser runs it: `callerArgs` are
// what the browser names itself with. send() writes one message (an object,
// or a raw JSON text) and resolves with the next answer that is not an
// unasked list.
export function startHost(world, callerArgs) {
  const child = spawn(WINE, [path.join(world.programDir, 'OrbiskHost.exe'), ...callerArgs], {
    env: world.env,
    stdio: ['pipe', 'pipe', 'ignore'],
  });
  let buffer = Buffer.alloc(0);
  const waiting = [];
  child.stdout.on('data', (chunk) => {
    buffer = Buffer.concat([buffer, chunk]);
    while (buffer.length >= 4 && buffer.length >= 4 + buffer.readUInt32LE(0)) {
      const size = buffer.readUInt32LE(0);
      const message = JSON.parse(buffer.subarray(4, 4 + size).toString('utf8'));
      buffer = buffer.subarray(4 + size);
      if (message.type !== 'items' || waiting[0]?.wantsItems) waiting.shift()?.resolve(message);
    }
  });
  const exited = new Promise((resolve) => child.on('exit', resolve));
  return {
    send(message, wantsItems = false) {
      return new Promise((resolve) => {
        waiting.push({ resolve, wantsItems });
        const body = Buffer.from(typeof message === 'string' ? message : JSON.stringify(message), 'utf8');
        const head = Buffer.alloc(4);
        head.writeUInt32LE(body.length);
        child.stdin.write(Buffer.concat([head, body]));
      });
    },
    // Closes the host's input, as a browser closing the port; resolves with
    // its exit code.
    stop() {
      child.stdin.end();
      return exited;
    },
  };
}

// What a recorder copy was first started with, once that record is whole.
// Each start appends to "<exe>.log" the ANSI command line, the working
// folder, the show state and the UTF-16 command line in hex, each ended by
// a NUL.
export function readRecord(exe) {
  const log = `${exe}.log`;
  if (!fs.existsSync(log)) return null;
  const bytes = fs.readFileSync(log);
  const fields = [];
  let at = 0;
  while (fields.length < 4) {
    const end = bytes.indexOf(0, at);
    if (end < 0) return null;
    fields.push(bytes.subarray(at, end));
    at = end + 1;
  }
  const decode = (field) => new TextDecoder('shift_jis').decode(field);
  return { commandLine: decode(fields[0]), folder: decode(fields[1]), show: decode(fields[2]) };
}

export function clearRecord(exe) {
  fs.rmSync(`${exe}.log`, { force: true });
}

// The substitution engine's result for a template and the page's facts, one
// for each second in [from, to]: the clock is read while the host works.
export function engineResults(engineResult, { kind = 'launcher', template, facts = {}, from, to }) {
  const times = [];
  for (let t = Math.floor(from / 1000) * 1000; t <= to; t += 1000) {
    const d = new Date(t);
    times.push([d.getFullYear(), d.getMonth() + 1, d.getDate(), d.getDay(), d.getHours(), d.getMinutes(), d.getSeconds()]);
  }
  return new Promise((resolve, reject) => {
    const child = execFile(engineResult, [], { maxBuffer: 64 * 1024 * 1024 }, (error, stdout) => {
      if (error) reject(error);
      else resolve(JSON.parse(stdout).results);
    });
    child.stdin.end(JSON.stringify({ kind, template, facts, times }));
  });
}
