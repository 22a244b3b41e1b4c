// SPDX-License-Identifier: GPL-3.0-or-later
// Loads generated button-menu pages in headless Chromium and checks the
// rollover as a visitor sees it: page mode (images under the prefix beside
// the page, served over HTTP) and preview mode (file:/// addresses of the
// local images). Both are page files as rollcraft writes them.
//
// usage: node menu.test.mjs ROLLCRAFT_BINARY EXAMPLE_IMAGES_DIR WORK_DIR
import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [rollcraft, imagesDir, workDir] = process.argv.slice(2).map((p) => path.resolve(p));
const buttons = [
  { name: 'Home', out: 'home.gif', over: 'home_over.gif', desc: 'home_info.gif', url: '#home' },
  { name: 'News', out: 'news.gif', over: 'news_over.gif', desc: 'news_info.gif', url: '#news' },
  { name: 'Über uns', out: 'contact.gif', over: 'contact_over.gif', desc: 'contact_info.gif', url: 'café.html' },
];
const defaultImage = 'default.gif';

let failed = 0;
function check(what, actual, expected) {
  if (actual !== expected) {
    failed++;
    console.log(`FAIL: ${what}: ${actual} (expected ${expected})`);
  }
}

function writeDataFile(file) {
  const img = (f) => path.join(imagesDir, f);
  const lines = ['[COMMON]', img(defaultImage)];
  for (const b of buttons)
    lines.push('[Button]', b.name, img(b.out), img(b.over), img(b.desc), b.url, '#', b.name, 'img');
  fs.writeFileSync(file, lines.map((l) => l + '\r\n').join(''), 'latin1');
}

// Serves `root` as a web server would that knows nothing of the page's
// encoding: text/html with no charset.
function serve(root) {
  const server = http.createServer((request, response) => {
    const file = path.join(root, decodeURIComponent(new URL(request.url, 'http://host').pathname));
    if (!file.startsWith(root + path.sep) || !fs.statSync(file, { throwIfNoEntry: false })?.isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': file.endsWith('.html') ? 'text/html' : 'image/gif' });
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// What the menu shows: each button's image, then the description area's.
async function shows(page) {
  return page.$$eval('img', (imgs) => imgs.map((i) => decodeURIComponent(i.src).split('/').pop()).join(' '));
}

async function checkPage(browser, url, mode) {
  const page = await browser.newPage({ viewport: { width: 400, height: 400 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(url);
  await page.waitForLoadState('load');
  check(`${mode}: every image loads`,
    await page.$$eval('img', (imgs) => imgs.every((i) => i.complete && i.naturalWidth > 0)), true);
  check(`${mode}: entrance`, await page.evaluate(() => window.entrance), 'yes');
  const rest = [...buttons.map((b) => b.out), defaultImage].join(' ');
  check(`${mode}: at rest`, await shows(page), rest);
  check(`${mode}: alt text`, await page.$eval('img[name=name2]', (i) => i.alt), 'Über uns');
  for (const [k, b] of buttons.entries()) {
    await page.hover(`img[name=name${k}]`);
    check(`${mode}: hover ${k}`, await shows(page),
      [...buttons.map((o, j) => (j === k ? o.over : o.out)), b.desc].join(' '));
    await page.mouse.move(390, 390);
    check(`${mode}: leave ${k}`, await shows(page), rest);
  }
  // A click darkens although the pointer is still over the button.
  await page.hover('img[name=name1]');
  await page.click('img[name=name1]');
  check(`${mode}: click`, await shows(page), rest);
  check(`${mode}: click follows the link`, page.url().endsWith('#news'), true);
  check(`${mode}: script errors`, errors.join('; '), '');
  await page.close();
}

fs.rmSync(workDir, { recursive: true, force: true });
const site = path.join(workDir, 'site');
fs.mkdirSync(path.join(site, 'img'), { recursive: true });
const dataFile = path.join(workDir, 'menu.rk2');
writeDataFile(dataFile);
for (const f of [defaultImage, ...buttons.flatMap((b) => [b.out, b.over, b.desc])])
  fs.copyFileSync(path.join(imagesDir, f), path.join(site, 'img', f));
execFileSync(rollcraft, ['render', '-o', path.join(site, 'menu.html'), dataFile]);
execFileSync(rollcraft, ['render', '--preview', '-o', path.join(workDir, 'preview.html'), dataFile]);
const server = await serve(site);

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'],
});
try {
  await checkPage(browser, `http://127.0.0.1:${server.address().port}/menu.html`, 'page');
  await checkPage(browser, pathToFileURL(path.join(workDir, 'preview.html')).href, 'preview');
} finally {
  await browser.close();
  server.close();
}
console.log(`browser: ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
