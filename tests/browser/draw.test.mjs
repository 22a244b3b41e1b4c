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
import { check, main, seen } from './site.mjs';

const rollcraft = path.resolve(process.argv[2]);
const names = [['Café', 'Café and more'], ['Главная', 'О компании'], ['首页', '关于我们'], ['الرئيسية', 'من نحن']];


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
      // The files the browser took, the name part of a drawn file's name left out.
      const shown = async () => (await page.evaluate(seen)).replace(/(\d\d)-\S*-(out|over|description)/g, '$1-$2');
      const looks = [await shown()];
      const expected = [wanted(-1)];
      for (let k = 0; k < names.length; k++) {
        await page.hover(`a[href="#b${k}"]`);
        looks.push(await shown());
        expected.push(wanted(k));
        await page.mouse.move(1, 290);
      }
      check(`device pixel ratio ${ratio}`, looks.join(' | '), expected.join(' | '));
      await context.close();
    }
  } finally {
    await browser.close();
  }
});
