// SPDX-License-Identifier: GPL-3.0-or-later
// Both pages in headless Chromium, served and as previews: hover, and every picture's box classic
// against modern; on the modern page Tab, JavaScript off, a touch phone and a refused script.
//
// usage: node chromium.test.mjs ROLLCRAFT_BINARY WORK_DIR
import { chromium } from 'playwright-core';
import { check, expected, hoverChecks, main, sets, showing } from './site.mjs';

const { plain } = sets;
await main('chromium', async ({ origin, pages, previews }) => {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  // Script errors anywhere, and files the modern page asked for and did not get: none.
  const problems = [];
  const open = async (url, options = {}) => {
    const page = await (await browser.newContext({ viewport: { width: 400, height: 400 }, ...options })).newPage();
    page.on('pageerror', (e) => problems.push(e.message));
    page.on('response', (r) => r.status() >= 400 && page.url().includes('-modern') && problems.push(r.url()));
    await page.goto(url);
    return page;
  };
  const modern = `${origin}/plain-modern.html`;
  try {
    const page = await open('about:blank');
    const [classic, shown] = await hoverChecks('chromium', page, [...pages, ...previews]);
    check('boxes', shown.slice(0, classic.length).join(' | '), classic.join(' | '));
    await page.goto(modern);
    // Tab shows what hover shows, with a visible ring, until focus leaves the menu.
    for (let k = 0; k <= plain.buttons.length; k++) {
      await page.keyboard.press('Tab');
      const focus = await page.evaluate((e = document.activeElement, s = getComputedStyle(e)) =>
        `${e.className.split(' ')[0]} ${s.outlineStyle !== 'none' && parseFloat(s.outlineWidth) >= 2}`);
      const focused = k < plain.buttons.length;
      check(`tab ${k}`, `${focus} ${await page.evaluate(showing)}`, `${focused ? `b${k}` : ''} ${focused} ${expected(plain, focused ? k : -1)}`);
    }
    const scriptOff = await open(modern, { javaScriptEnabled: false });
    await scriptOff.hover('.m a.b1');
    check('hover without JavaScript', await scriptOff.evaluate(showing), expected(plain, 1));
    // One tap on a button whose pictures would swap follows its link and leaves no hover behind.
    const phone = await open(modern, { viewport: { width: 390, height: 700 }, hasTouch: true, isMobile: true });
    await phone.tap('.m a.b1');
    check('tap', `${await phone.evaluate(showing)} ${phone.url()}`, `${expected(plain)} ${modern}#shop`);
    await page.addScriptTag({ content: 'document.title = "ran"' }).catch(() => {});
    check('page scripts refused', await page.title(), 'Rollover menu');
    check('script errors, missing files', problems.join(' '), '');
  } finally {
    await browser.close();
  }
});
