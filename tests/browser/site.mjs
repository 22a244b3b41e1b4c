// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine and checker tests share: a site of generated pictures and
// pages rendered by rollcraft, a plain HTTP server for it, and the hover check.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';

// A PNG of one colour: the pictures' sizes are what the tests are about.
function png(width, height, rgb) {
  const u32 = (n) => { const b = Buffer.alloc(4); b.writeUInt32BE(n); return b; };
  const chunk = (type, data, body = Buffer.concat([Buffer.from(type), data])) => Buffer.concat([u32(data.length), body, u32(zlib.crc32(body))]);
  const header = Buffer.from([0, 0, width >> 8, width & 255, 0, 0, height >> 8, height & 255, 8, 2, 0, 0, 0]);
  const row = Buffer.concat([Buffer.from([0]), Buffer.from(Array(width).fill(rgb).flat())]);
  return Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(Buffer.concat(Array(height).fill(row)))), chunk('IEND', Buffer.alloc(0))]);
}

// Pictures of mixed sizes, some fields empty. `plain` names suit the classic page, which
// writes them as they are; `marked` ones hold spaces, accents and markup characters.
const plain = {
  defaultImage: ['default.png', 159, 100],
  buttons: [
    { alt: 'Café', url: '#home', out: ['home.png', 159, 25], over: ['home_over.png', 159, 25], desc: ['home_info.png', 159, 100] },
    { alt: 'Shop', url: '#shop', out: ['shop.png', 200, 40], over: ['shop_over.png', 80, 60], desc: ['shop_info.png', 180, 90] },
    { alt: 'News', url: '#news', out: ['news.png', 120, 30], over: ['news_over.png', 140, 35], desc: ['news_info.png', 100, 50] },
    { alt: 'Contact', url: '#contact', out: ['contact.png', 159, 25], over: null, desc: null },
  ],
};
const marked = {
  defaultImage: ['défaut 100%.png', 159, 100],
  buttons: [
    { alt: 'Über uns', url: 'über uns.html', out: ['über uns.png', 159, 25], over: ['über uns #2.png', 159, 25], desc: ['über "info".png', 159, 100] },
    { alt: 'Tom & Jerry <live>', url: 'a.html?x=1&y=2', out: ["tom's <b>.png", 200, 40], over: ['tom & jerry.png', 80, 60], desc: null },
    { alt: "Café 'Noir'", url: 'café.html', out: ['café.png', 120, 30], over: null, desc: ['café <i>.png', 100, 50] },
  ],
};
export const sets = { plain, marked };

// Writes the set's pictures to DIR/site/img and its data file to DIR/NAME.rk2.
function writeSet(dir, name, set) {
  const img = path.join(dir, 'site', 'img');
  fs.mkdirSync(img, { recursive: true });
  const file = (picture, k) => {
    if (!picture)
      return '#';
    const [f, w, h] = picture;
    fs.writeFileSync(path.join(img, f), png(w, h, [(k * 60) % 256, 128, 200]));
    return path.join(img, f);
  };
  const lines = ['[COMMON]', file(set.defaultImage, 9)];
  set.buttons.forEach((b, k) => lines.push('[Button]', b.alt, file(b.out, 3 * k), file(b.over, 3 * k + 1),
    file(b.desc, 3 * k + 2), b.url, '#', b.alt, 'img'));
  const data = path.join(dir, `${name}.rk2`);
  fs.writeFileSync(data, lines.map((l) => l + '\r\n').join(''), 'latin1');
  return data;
}

// Renders NAME.html, NAME-modern.html into WORK/site and their previews into WORK.
function buildSite(rollcraft, workDir) {
  fs.rmSync(workDir, { recursive: true, force: true });
  const site = path.join(workDir, 'site');
  for (const [name, set] of Object.entries(sets)) {
    const data = writeSet(workDir, name, set);
    for (const [page, ...options] of [[`site/${name}`], [`${name}-preview`, '--preview'],
      [`site/${name}-modern`, '--modern', '--lang', 'en', '--title', 'Rollover menu'],
      [`${name}-modern-preview`, '--modern', '--lang', 'en', '--preview']])
      execFileSync(rollcraft, ['render', ...options, '-o', path.join(workDir, `${page}.html`), data]);
  }
  fs.writeFileSync(path.join(site, 'robots.txt'), 'User-agent: *\nAllow: /\n');
  return site;
}

// Serves `root` as a server knowing nothing of the pages' encoding: no charset.
function serve(root) {
  const types = { '.html': 'text/html', '.png': 'image/png', '.txt': 'text/plain' };
  const server = http.createServer((request, response) => {
    const file = path.join(root, decodeURIComponent(new URL(request.url, 'http://host').pathname));
    if (!file.startsWith(root + path.sep) || !fs.statSync(file, { throwIfNoEntry: false })?.isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] });
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// In the page: the pictures on show, in order, whether each loaded, with `boxes` where each lies.
export function showing(boxes) {
  return [...document.images].filter((i) => i.getClientRects().length > 0).map((i) => {
    const r = i.getBoundingClientRect();
    return decodeURIComponent(i.src).split('/').pop() + (i.complete && i.naturalWidth > 0 ? '' : '(broken)')
      + (boxes ? `@${r.x},${r.y},${r.width}x${r.height}` : '');
  }).join(' ');
}

// What a set's page shows at rest and with button k hovered or focused (an empty field keeps the picture).
export function expected(set, k = -1) {
  const shown = set.buttons.map((b, j) => (j === k && b.over ? b.over : b.out)[0]);
  const desc = k >= 0 && set.buttons[k].desc ? set.buttons[k].desc : set.defaultImage;
  return [...shown, desc[0]].join(' ');
}

let failures = 0;
export function check(what, actual, wanted) {
  if (actual !== wanted)
    console.log(`FAIL ${++failures}: ${what}: ${actual} (expected ${wanted})`);
}

// Runs a test on the site built from argv (ROLLCRAFT WORK_DIR) and served; `pages`, `previews`: [url, modern].
export async function main(name, test) {
  const [rollcraft, workDir] = process.argv.slice(2).map((p) => path.resolve(p));
  const site = buildSite(rollcraft, workDir);
  const server = await serve(site);
  const origin = `http://127.0.0.1:${server.address().port}`;
  const pages = [[`${origin}/plain.html`, false], [`${origin}/plain-modern.html`, true]];
  const previews = ['plain-preview.html', 'plain-modern-preview.html'].map((f, k) => [pathToFileURL(path.join(workDir, f)).href, k > 0]);
  try {
    await test({ workDir, site, origin, pages, previews });
  } finally {
    server.close();
  }
  console.log(`${name}: ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
}

// The hover check every engine runs on `page` (driven as in Playwright): the classic page on
// its first three buttons (all pictures), the modern on all; the alt text shows the decoding.
// Returns each page's boxes.
export async function hoverChecks(engine, page, pages) {
  const boxes = [];
  for (const [url, modern] of pages) {
    await page.goto(url);
    check(`${engine} ${url}: text`, await page.evaluate(() => document.images[0].alt), 'Café');
    const seen = [await page.evaluate(showing, true)];
    const wanted = [expected(plain)];
    for (let k = 0; k < (modern ? 4 : 3); k++) {
      await page.hover(modern ? `.m a.b${k}` : `img[name=name${k}]`);
      seen.push(await page.evaluate(showing, true));
      await page.mouse.move(1, 1);
      seen.push(await page.evaluate(showing, true));
      wanted.push(expected(plain, k), expected(plain));
    }
    check(`${engine} ${url}`, seen.join(' | ').replace(/@\S+/g, ''), wanted.join(' | '));
    boxes.push(seen);
  }
  return boxes;
}
