// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine and checker tests share: a site of generated pictures and
// pages rendered by rollcraft, a plain HTTP server for it, and the hover check.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
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
// For narrow screens, small pictures and a right-to-left language: a picture wider than any
// phone, pictures smaller than a finger, Arabic texts.
const arabic = {
  defaultImage: ['ar_default.png', 300, 80],
  buttons: [
    { alt: 'الرئيسية', url: '#home', out: ['ar_wide.png', 900, 60], over: ['ar_wide_over.png', 900, 60], desc: ['ar_info.png', 400, 90] },
    { alt: 'اتصل بنا', url: '#contact', out: ['ar_tiny.png', 16, 16], over: ['ar_tiny_over.png', 16, 16], desc: null },
    { alt: 'المتجر', url: '#shop', out: ['ar_tiny2.png', 16, 16], over: null, desc: null },
  ],
};
export const sets = { plain, marked, arabic };
// Pictures of twice the size that lie beside their pictures, which HiDPI screens get.
const twice = { 'home.png': [318, 50] };

// Writes the set's pictures to DIR/site/img and its data file to DIR/NAME.rk2.
function writeSet(dir, name, set) {
  const img = path.join(dir, 'site', 'img');
  fs.mkdirSync(img, { recursive: true });
  const file = (picture, k) => {
    if (!picture)
      return '#';
    const [f, w, h] = picture;
    fs.writeFileSync(path.join(img, f), png(w, h, [(k * 60) % 256, 128, 200]));
    if (twice[f])
      fs.writeFileSync(path.join(img, f.replace('.', '@2x.')), png(...twice[f], [(k * 60) % 256, 128, 200]));
    return path.join(img, f);
  };
  const lines = ['[COMMON]', file(set.defaultImage, 9)];
  set.buttons.forEach((b, k) => lines.push('[Button]', b.alt, file(b.out, 3 * k), file(b.over, 3 * k + 1),
    file(b.desc, 3 * k + 2), b.url, '#', b.alt, 'img'));
  fs.writeFileSync(path.join(dir, `${name}.rk2`), lines.map((l) => l + '\r\n').join(''), 'latin1');
}

// Two sites' pages of their own, each written to look and behave its way: the first with rules
// on elements and on short class names and a script of its own, the second a reset-and-grid
// layout in dark colours. `menu` is what is pasted into each.
const hosts = {
  'host-rules': (menu) => `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>A site with rules on elements</title>
<style>
body{margin:0;background:#fdf6e3;color:#222;font:18px/1.7 Georgia,serif;text-align:center} main{display:block;padding:2em;background:#eee8d5}
h1{font-size:3em;margin:.2em;color:#7a2e00;text-transform:uppercase} nav{display:flex;gap:3em;padding:1em;background:#eee8d5;border:5px solid #b58900}
a{color:#1d3f8f;padding:12px;text-decoration:underline wavy;display:inline-block;border:2px dotted red} a:hover,a:focus{background:#ffd;outline:none}
img{width:50px;height:50px;border:6px solid #b58900;padding:4px;margin:10px;float:right;opacity:.8;vertical-align:bottom} .d img{display:none}
.vh{font-size:9px} .m,.o,.v,.h,.dd,.b0,.b1,.menu{background:#fcc;position:relative;left:40px}
</style>
</head><body>
<header><nav aria-label="Site"><a href="#start">Start</a><a href="#about">About</a></nav></header>
<main>
<h1>The site</h1>
<p class="vh">Small print of the site.</p>
<div class="d"><img src="img/default.png" alt="Site logo"></div>
${menu}
<p id="ran">The site's own script did not run.</p>
</main>
<script>document.getElementById('ran').textContent = "The site's own script ran.";</script>
</body></html>
`,
  'host-grid': (menu) => `<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><meta name="viewport" content="width=device-width, initial-scale=1">
<title>A site with a reset and a grid</title>
<style>
*,*::before,*::after{box-sizing:border-box;margin:0;padding:0} html{font-size:20px}
body{display:grid;grid-template-columns:280px 1fr;gap:1rem;background:#111;color:#eee;line-height:2}
img{display:block;max-width:100%;width:100%;height:auto;filter:grayscale(1)} a{color:#8cf} a:hover img{opacity:.3;transform:scale(1.5)}
:focus{outline:none} aside,main{padding:1rem}
</style>
</head><body>
<aside aria-label="Menu">${menu}</aside>
<main><h1>Articles</h1><p>Text of the site, <a href="#more">and a link</a>.</p></main>
</body></html>
`,
};

// A page holding nothing but `menu`.
const alone = (menu) => `<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n<meta name="viewport" content="width=device-width, initial-scale=1">\n<title>The menu alone</title>\n</head>\n<body>\n<main>\n<h1>The menu alone</h1>\n${menu}</main>\n</body>\n</html>\n`;

// Renders into WORK/site the plain set's pages (plain.html, plain-modern.html; their previews
// into WORK), its fragment alone (fragment.html) and in each host page (HOST.html, HOST-bare.html
// without it); the other sets' modern pages (NAME-modern.html) and the Arabic set's fragment.
function buildSite(rollcraft, workDir) {
  fs.rmSync(workDir, { recursive: true, force: true });
  const site = path.join(workDir, 'site');
  const render = (name, ...options) => execFileSync(rollcraft, ['render', ...options, path.join(workDir, `${name}.rk2`)], { encoding: 'utf8' });
  Object.entries(sets).forEach(([name, set]) => writeSet(workDir, name, set));
  const modern = (lang) => ['--modern', '--lang', lang, '--title', 'Rollover menu'];
  for (const [name, page, ...options] of [['plain', 'site/plain'], ['plain', 'plain-preview', '--preview'], ['plain', 'site/plain-modern', ...modern('en')],
    ['plain', 'plain-modern-preview', '--modern', '--lang', 'en', '--preview'], ['marked', 'site/marked-modern', ...modern('en')], ['arabic', 'site/arabic-modern', ...modern('ar')]])
    render(name, ...options, '-o', path.join(workDir, `${page}.html`));
  fs.writeFileSync(path.join(site, 'arabic-fragment.html'), alone(render('arabic', '--modern', '--fragment', '--lang', 'ar')));
  const menu = render('plain', '--modern', '--fragment', '--current', '#shop', '--label', 'Rollover menu');
  fs.writeFileSync(path.join(site, 'fragment.html'), alone(menu));
  for (const [host, page] of Object.entries(hosts)) {
    fs.writeFileSync(path.join(site, `${host}.html`), page(menu));
    fs.writeFileSync(path.join(site, `${host}-bare.html`), page(''));
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

// In the page: the pictures on show, in order, whether each loaded.
export function showing() {
  return [...document.images].filter((i) => i.getClientRects().length > 0)
    .map((i) => decodeURIComponent(i.src).split('/').pop() + (i.complete && i.naturalWidth > 0 ? '' : '(broken)')).join(' ');
}

// In a page with the menu: what a viewer sees of it, once every picture on show has come (2 s at
// most): each button's topmost picture on show (as the file the browser took), then the
// description area's. A picture laid over a button's other one hides it.
export async function seen() {
  const shown = (i) => i.checkVisibility({ opacityProperty: true, visibilityProperty: true });
  const pictures = () => [...document.querySelectorAll('.rc-menu img')].filter(shown);
  for (let t = 0; t < 100 && !pictures().every((i) => i.complete); t++)
    await new Promise((resolve) => setTimeout(resolve, 20));
  const name = (i) => (i ? decodeURIComponent(i.currentSrc || i.src).split('/').pop() + (i.complete && i.naturalWidth > 0 ? '' : '(broken)') : '(blank)');
  const buttons = [...document.querySelectorAll('.rc-m > a')].map((a) => name([...a.querySelectorAll('img')].filter(shown).pop()));
  return [...buttons, ...[...document.querySelectorAll('.rc-d img')].filter(shown).map(name)].join(' ');
}

// What a set's page shows at rest and with button k hovered or focused (an empty field keeps the picture).
export function expected(set, k = -1) {
  const shown = set.buttons.map((b, j) => (j === k && b.over ? b.over : b.out)[0]);
  const desc = k >= 0 && set.buttons[k].desc ? set.buttons[k].desc : set.defaultImage;
  return [...shown, desc[0]].join(' ');
}

export const modules = path.join(path.dirname(fileURLToPath(import.meta.url)), 'node_modules');

// axe-core with every rule on the page open in Playwright: its violations, one line each.
export async function axeViolations(page) {
  await page.addScriptTag({ path: path.join(modules, 'axe-core/axe.min.js') });
  return page.evaluate(async () => {
    const rules = Object.fromEntries(window.axe.getRules().map((r) => [r.ruleId, { enabled: true }]));
    const result = await window.axe.run(document, { rules });
    return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`).join('; ');
  });
}

let failures = 0;
export function check(what, actual, wanted) {
  if (actual !== wanted)
    console.log(`FAIL ${++failures}: ${what}: ${actual} (expected ${wanted})`);
}

// Runs a test on the site built from argv (ROLLCRAFT WORK_DIR) and served; `pages`, `previews`:
// [url, modern]; `hosts`: the fragment alone and in each host page.
export async function main(name, test) {
  const [rollcraft, workDir] = process.argv.slice(2).map((p) => path.resolve(p));
  const site = buildSite(rollcraft, workDir);
  const server = await serve(site);
  const origin = `http://127.0.0.1:${server.address().port}`;
  const pages = [[`${origin}/plain.html`, false], [`${origin}/plain-modern.html`, true]];
  const previews = ['plain-preview.html', 'plain-modern-preview.html'].map((f, k) => [pathToFileURL(path.join(workDir, f)).href, k > 0]);
  const hostPages = ['fragment', ...Object.keys(hosts)].map((name) => [`${origin}/${name}.html`, true]);
  try {
    await test({ workDir, site, origin, pages, previews, hosts: hostPages });
  } finally {
    server.close();
  }
  console.log(`${name}: ${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
}

// Where every picture of the menu lies in the page (with `sizes`, only how large each is), shown
// or not, once all have come (2 s at most).
export async function boxes(sizes) {
  const pictures = [...document.querySelectorAll('.rc-menu img')];
  for (let t = 0; t < 100 && !pictures.every((i) => i.complete); t++)
    await new Promise((resolve) => setTimeout(resolve, 20));
  const round = (x) => Math.round(x * 10) / 10;
  return pictures.map((i) => { const r = i.getBoundingClientRect(); return `${sizes ? i.className : `${round(r.x + scrollX)},${round(r.y + scrollY)}`} ${r.width}x${r.height}`; }).join(' ');
}

// The hover check every engine runs on `page` (driven as in Playwright): the classic page on
// its first three buttons (all pictures), the modern on all, where hovering moves no picture;
// the alt text shows the decoding. On the modern page and the fragment (in host pages of their
// own), Tab too: until focus reaches the menu, then through it, which shows what hover shows.
export async function hoverChecks(engine, page, pages) {
  for (const [url, modern] of pages) {
    await page.goto(url);
    const look = () => (modern ? page.evaluate(seen) : page.evaluate(showing));
    check(`${engine} ${url}: text`, await page.evaluate((m) => (m ? document.querySelector('.rc-o') : document.images[0]).alt, modern), 'Café');
    const rest = modern && (await page.evaluate(boxes));
    const looks = [await look()];
    const wanted = [expected(plain)];
    for (let k = 0; k < (modern ? 4 : 3); k++) {
      await page.hover(modern ? `.rc-b${k}` : `img[name=name${k}]`);
      looks.push(await look());
      if (modern)
        check(`${engine} ${url}: hovering button ${k} moves nothing`, await page.evaluate(boxes), rest);
      await page.mouse.move(1, 1);
      looks.push(await look());
      wanted.push(expected(plain, k), expected(plain));
    }
    check(`${engine} ${url}`, looks.join(' | '), wanted.join(' | '));
    if (!modern)
      continue;
    // Focus stays in the page: one that has lost it to the browser's own controls matches no :focus.
    const focused = () => page.evaluate(() => `${document.activeElement.className}${document.hasFocus() ? '' : ' (page not focused)'}`);
    for (let t = 0; t < 10 && !(await focused()).startsWith('rc-b'); t++)
      await page.keyboard.press('Tab');
    const tabbed = [];
    for (let k = 0; k < plain.buttons.length; k++) {
      if (k > 0)
        await page.keyboard.press('Tab');
      tabbed.push(`${await focused()} ${await look()}`);
    }
    check(`${engine} ${url}: Tab`, tabbed.join(' | '), plain.buttons.map((b, k) => `rc-b${k}${b.desc ? ' rc-h' : ''} ${expected(plain, k)}`).join(' | '));
  }
}
