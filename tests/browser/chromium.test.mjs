// SPDX-License-Identifier: GPL-3.0-or-later
// The modern page in headless Chromium: hover, then what only Chromium
// drives well here: Tab, JavaScript turned off, a touch phone, a page script
// the page's own policy must refuse, and every picture's box against the
// classic page's, at rest and while each button is hovered.
//
// usage: node chromium.test.mjs ROLLCRAFT_BINARY WORK_DIR
import { chromium } from 'playwright-core';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { buildSite, check, expected, finish, hoverChecks, serve, sets, showing } from './site.mjs';

const [rollcraft, workDir] = process.argv.slice(2).map((p) => path.resolve(p));
const site = buildSite(rollcraft, workDir);
const server = await serve(site);
const origin = `http://127.0.0.1:${server.address().port}`;
const { plain } = sets;
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'],
});

// Files the modern page asked for and did not get: none, even where a
// field is empty.
const missing = [];
async function newPage(options = {}) {
  const context = await browser.newContext({ viewport: { width: 400, height: 400 }, ...options });
  const page = await context.newPage();
  page.on('response', (r) => {
    if (r.status() >= 400 && page.url().includes('-modern'))
      missing.push(r.url());
  });
  return page;
}

// Each shown picture's box, as "file@x,y,WxH".
const boxes = () => [...document.images].filter((i) => i.getClientRects().length > 0).map((i) => {
  const r = i.getBoundingClientRect();
  return `${decodeURIComponent(i.src).split('/').pop()}@${r.x},${r.y},${r.width}x${r.height}`;
}).join(' ');

async function sameBoxes() {
  const classic = await newPage();
  const modern = await newPage();
  await classic.goto(`${origin}/plain.html`);
  await modern.goto(`${origin}/plain-modern.html`);
  check('boxes at rest', await modern.evaluate(boxes), await classic.evaluate(boxes));
  for (let k = 0; k < 3; k++) {
    await classic.hover(`img[name=name${k}]`);
    await modern.hover(`.m a.b${k}`);
    check(`boxes hovering ${k}`, await modern.evaluate(boxes), await classic.evaluate(boxes));
    await classic.mouse.move(1, 1);
    await modern.mouse.move(1, 1);
  }
}

async function keyboard() {
  const page = await newPage();
  await page.goto(`${origin}/plain-modern.html`);
  for (let k = 0; k < plain.buttons.length; k++) {
    await page.keyboard.press('Tab');
    check(`tab ${k}: focused`, await page.evaluate(() => document.activeElement.className.split(' ')[0]), `b${k}`);
    check(`tab ${k}`, await page.evaluate(showing), expected(plain, k));
    check(`tab ${k}: focus indicator`, await page.evaluate(() => {
      const s = getComputedStyle(document.activeElement);
      return s.outlineStyle !== 'none' && parseFloat(s.outlineWidth) >= 2;
    }), true);
  }
  await page.keyboard.press('Tab');
  check('tab away', await page.evaluate(showing), expected(plain));
}

async function scriptOff() {
  const page = await newPage({ javaScriptEnabled: false });
  await page.goto(`${origin}/plain-modern.html`);
  await page.hover('.m a.b1');
  check('hover without JavaScript', await page.evaluate(showing), expected(plain, 1));
}

// One tap on a button whose pictures would swap follows its link, and no
// hover state is left behind.
async function touch() {
  const page = await newPage({ viewport: { width: 390, height: 700 }, hasTouch: true, isMobile: true });
  await page.goto(`${origin}/plain-modern.html`);
  await page.tap('.m a.b1');
  check('tap follows the link', page.url(), `${origin}/plain-modern.html#shop`);
  check('tap swaps nothing', await page.evaluate(showing), expected(plain));
}

async function scriptsRefused() {
  const page = await newPage();
  await page.goto(`${origin}/plain-modern.html`);
  await page.addScriptTag({ content: 'document.title = "ran"' }).catch(() => {});
  check('page scripts refused', await page.title(), 'Rollover menu');
}

async function preview() {
  const page = await newPage();
  await page.goto(pathToFileURL(path.join(workDir, 'plain-modern-preview.html')).href);
  await page.hover('.m a.b0');
  check('preview hover', await page.evaluate(showing), expected(plain, 0));
}

try {
  const page = await newPage();
  await hoverChecks('chromium', {
    open: (url) => page.goto(url),
    hover: (css) => page.hover(css),
    rest: () => page.mouse.move(1, 1),
    showing: () => page.evaluate(showing),
  }, origin);
  await Promise.all([sameBoxes(), keyboard(), scriptOff(), touch(), scriptsRefused(), preview()]);
  check('files asked for that are missing', missing.join(' '), '');
} finally {
  await browser.close();
  server.close();
}
finish('chromium');
