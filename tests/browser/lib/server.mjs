// The test pages, served on loopback. Page data is what the extension
// gathers, so the pages are plain files beside the tests, plus a few made
// here: tiny images, link targets, and pages whose title or text a test
// chooses (hostile titles, a huge selection).
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const pagesDir = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'pages');
const modulesDir = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'node_modules');
const TYPES = {
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.svg': 'image/svg+xml',
  '.woff': 'font/woff',
  '.woff2': 'font/woff2',
};

// A 1×1 PNG; the pages size the images themselves.
const PNG = Buffer.from(
  'iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==',
  'base64',
);

export async function startServer() {
  const madePages = new Map();
  const server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://localhost');
    const send = (status, type, body) => {
      response.writeHead(status, { 'content-type': type, 'cache-control': 'no-store' });
      response.end(body);
    };
    if (url.pathname.startsWith('/images/')) return send(200, 'image/png', PNG);
    if (url.pathname.startsWith('/target/')) return send(200, 'text/html; charset=utf-8', '<!DOCTYPE html><title>target</title>');
    // The rich editors the tests type into, offline, from the tests' own
    // npm packages.
    if (url.pathname.startsWith('/node_modules/')) {
      const file = path.join(modulesDir, path.normalize(decodeURIComponent(url.pathname.slice('/node_modules/'.length))));
      if (!file.startsWith(modulesDir + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) return send(404, 'text/plain', 'not found');
      return send(200, TYPES[path.extname(file)] ?? 'application/octet-stream', fs.readFileSync(file));
    }
    if (madePages.has(url.pathname)) return send(200, 'text/html; charset=utf-8', madePages.get(url.pathname));
    const file = path.join(pagesDir, path.normalize(decodeURIComponent(url.pathname)).replace(/^([/\\])+/, ''));
    if (!file.startsWith(pagesDir + path.sep) || !fs.existsSync(file)) return send(404, 'text/plain', 'not found');
    return send(200, 'text/html; charset=utf-8', fs.readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const origin = `http://127.0.0.1:${server.address().port}`;
  return {
    origin,
    url: (pathname) => origin + pathname,
    // Serves `html` at `pathname` from now on.
    page: (pathname, html) => {
      madePages.set(pathname, html);
      return origin + pathname;
    },
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}
