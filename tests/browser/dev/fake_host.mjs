#!/usr/bin/env node
// A stand-in for OrbiskHost.exe while working on the extension without
// Windows programs: speaks the same native messaging protocol, lists the
// items of a JSON file (ORBISK_FAKE_CATALOGUE), sends the list again when
// the file changes, and appends every pick to ORBISK_FAKE_LOG. Fixed-string
// items answer with their text unsubstituted. Never used by the real tests.
import fs from 'node:fs';

const catalogue = process.env.ORBISK_FAKE_CATALOGUE;
const log = process.env.ORBISK_FAKE_LOG;

function readItems() {
  try {
    return JSON.parse(fs.readFileSync(catalogue, 'utf8'));
  } catch {
    return [];
  }
}

function send(message) {
  const body = Buffer.from(JSON.stringify(message), 'utf8');
  const head = Buffer.alloc(4);
  head.writeUInt32LE(body.length);
  process.stdout.write(Buffer.concat([head, body]));
}

let version = 1;
const listed = () => readItems().map(({ name, kind, contexts, needs }) => ({ name, kind, contexts, needs }));
fs.watchFile(catalogue, { interval: 200 }, () => send({ type: 'items', version: ++version, items: listed() }));

let buffer = Buffer.alloc(0);
process.stdin.on('data', (chunk) => {
  buffer = Buffer.concat([buffer, chunk]);
  while (buffer.length >= 4 && buffer.length >= 4 + buffer.readUInt32LE(0)) {
    const size = buffer.readUInt32LE(0);
    const message = JSON.parse(buffer.subarray(4, 4 + size).toString('utf8'));
    buffer = buffer.subarray(4 + size);
    if (message.type === 'list') {
      send({ type: 'items', version, items: listed() });
    } else if (message.type === 'pick') {
      if (log) fs.appendFileSync(log, JSON.stringify(message) + '\n');
      const item = readItems().find((candidate) => candidate.name === message.name);
      if (!item) send({ type: 'error', message: `項目「${message.name}」はありません。` });
      else if (item.kind === 'fixed') send({ type: 'text', text: item.text ?? '' });
      else send({ type: 'started' });
    } else {
      send({ type: 'error', message: 'unknown request' });
    }
  }
});
process.stdin.on('end', () => process.exit(0));
