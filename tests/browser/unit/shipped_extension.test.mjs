// The extension users load (bridge/extension) offers no way to pick an entry
// without a click; the copy the browser tests load, which the build makes,
// is that folder with the test hook added and nothing else changed, so that
// the tests try what ships. The build passes the three folders in
//   ORBISK_SHIPPED_EXTENSION, ORBISK_TEST_EXTENSION and ORBISK_TEST_HOOK.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import test from 'node:test';

const shipped = process.env.ORBISK_SHIPPED_EXTENSION;
const testCopy = process.env.ORBISK_TEST_EXTENSION;
const hook = process.env.ORBISK_TEST_HOOK;
assert.ok(shipped && testCopy && hook, 'ctest passes the folders; see tests/browser/CMakeLists.txt');

// Files below `dir`, as paths relative to it, in a fixed order.
function filesBelow(dir, prefix = '') {
  return fs
    .readdirSync(path.join(dir, prefix), { withFileTypes: true })
    .flatMap((entry) => {
      const relative = path.join(prefix, entry.name);
      return entry.isDirectory() ? filesBelow(dir, relative) : [relative];
    })
    .sort();
}

// Anything that puts an `orbisk` object where code outside the module (a
// test driving the browser, another script) could call it.
const TEST_INTERFACE = /\b(?:globalThis|self|window|this)\s*(?:\.\s*orbisk\b|\[\s*['"`]orbisk['"`]\s*\])|\bdefineProperty\s*\([^,]*,\s*['"`]orbisk['"`]/;

test('the folder users load holds no test hook', () => {
  // The check must see the hook where it is, or it sees nothing at all.
  assert.match(fs.readFileSync(path.join(hook, 'after_background.js'), 'utf8'), TEST_INTERFACE);
  const hookTexts = fs.readdirSync(hook).map((name) => fs.readFileSync(path.join(hook, name), 'utf8').trim());
  const hookNames = new Set(fs.readdirSync(hook));
  for (const file of filesBelow(shipped)) {
    assert.ok(!hookNames.has(path.basename(file)), `${file} is a hook file`);
    if (path.extname(file) === '.png') continue;
    const text = fs.readFileSync(path.join(shipped, file), 'utf8');
    assert.doesNotMatch(text, TEST_INTERFACE, file);
    for (const hookText of hookTexts) assert.ok(!text.includes(hookText), `${file} holds a hook file`);
  }
  const manifest = JSON.parse(fs.readFileSync(path.join(shipped, 'manifest.json'), 'utf8'));
  assert.deepEqual([manifest.background.service_worker, manifest.background.scripts], ['background.js', ['background.js']]);
});

test('the tests load the shipped extension with the hook added and nothing else changed', () => {
  assert.deepEqual(filesBelow(testCopy), filesBelow(shipped));
  for (const file of filesBelow(shipped)) {
    const original = fs.readFileSync(path.join(shipped, file));
    const copy = fs.readFileSync(path.join(testCopy, file));
    if (file !== 'background.js') {
      assert.ok(copy.equals(original), `${file} differs from the shipped one`);
      continue;
    }
    const before = fs.readFileSync(path.join(hook, 'before_background.js'));
    const after = fs.readFileSync(path.join(hook, 'after_background.js'));
    assert.ok(copy.equals(Buffer.concat([before, original, after])), 'background.js is the shipped one inside the hook');
  }
});
