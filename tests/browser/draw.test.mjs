// SPDX-License-Identifier: GPL-3.0-or-later
// A set drawn by `rollcraft draw` (Latin, Cyrillic, CJK and Arabic names) and its modern page,
// served, in Chromium at device pixel ratio 1 and 2: each picture on show, at rest and with each
// button hovered, is its 1x file at ratio 1 and its @2x file at ratio 2.
//
// usage: node draw.test.mjs ROLLCRAFT_BINARY WORK_DIR
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { chromium } from 'playwright-core';
import { check, main } from './site.mjs';

const rollcraft = path.resolve(process.argv[2]);
const names = [['Café', 'Café and more'], ['Главная', 'О компании'], ['首页', '关于我们'], ['الرئيسية', 'من نحن']];

// Each picture on show (visible and on top at its centre), as the file the browser took, the name
// part of a drawn file's name left out.
const shown = () => [...document.images].filter((i) => {
  const r = i.getBoundingClientRect();
  return i.checkVisibility({ opacityProperty: true, visibilityProperty: true })
    && document.elementFromPoint(r.x + r.width / 2, r.y + r.height / 2) === i;
}).map((i) => decodeURIComponent(i.currentSrc).split('/').pop().replace(/^(\d\d)-.*-(out|over|description)/, '$1-$2')).join(' ');

await main('draw', async ({ workDir, site, origin }) => {
  const lines = ['[COMMON]', '#'];
  names.forEach(([name, alt], k) => lines.push('[Button]', name, '#', '#', '#', `#b${k}`, '#', alt, 'drawn'));
  const data = path.join(workDir, 'drawn.rk2');
  fs.writeFileSync(data, `\uFEFF${lines.map((l) => `${l}\r\n`).join('')}`);
  execFileSync(rollcraft, ['draw', '--style', 'pill', data, path.join(site, 'drawn')]);
  execFileSync(rollcraft, ['render', '--modern', '--lang', 'en', '--title', 'Drawn menu', '-o', path.join(site, 'drawn.html'), data]);

  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
  try {
    for (const ratio of [1, 2]) {
      const context = await browser.newContext({ viewport: { width: 400, height: 300 }, deviceScaleFactor: ratio });
      const page = await context.newPage();
      await page.goto(`${origin}/drawn.html`, { waitUntil: 'load' });
      const file = (stem) => `${stem}${ratio === 2 ? '@2x' : ''}.png`;
      const wanted = (k) => [...names.map((_, j) => file(`0${j + 1}-${j === k ? 'over' : 'out'}`)),
        file(k < 0 ? 'default-description' : `0${k + 1}-description`)].join(' ');
      const seen = [await page.evaluate(shown)];
      const expected = [wanted(-1)];
      for (let k = 0; k < names.length; k++) {
        await page.hover(`a[href="#b${k}"]`);
        await page.waitForFunction(() => [...document.images].every((i) => i.complete));
        seen.push(await page.evaluate(shown));
        expected.push(wanted(k));
        await page.mouse.move(1, 290);
      }
      check(`device pixel ratio ${ratio}`, seen.join(' | '), expected.join(' | '));
      // To look at: the page with the Arabic button hovered.
      await page.hover('a[href="#b3"]');
      await page.screenshot({ path: path.join(workDir, `drawn-${ratio}x.png`) });
      await context.close();
    }
  } finally {
    await browser.close();
  }
});
