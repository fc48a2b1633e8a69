// The Market Report's charts, painted on a canvas from the chart the game describes: title,
// legend, grid with years and amounts, the month in progress, levels, the series as step
// lines and the headline marks. Positions arrive as fractions of the plot area; the page only
// places them. Appended to the program's script before page.js, which uses it.
/* exported RealtopiaChart */
const RealtopiaChart = (function () {
  'use strict';

  const MARGIN = 8;
  const TITLE_HEIGHT = 18;
  const LEGEND_ROW = 18;
  const SWATCH = 18;
  const LEGEND_GAP = 14;
  const MARK_STRIP = 11;
  const YEAR_LABELS = 16;
  const RIGHT_MARGIN = 14;
  const MARK_SIZE = 4.5;
  const GRID = '#e2e2e2';
  const AXIS = '#808080';
  const LABEL = '#404040';
  const CURRENT = '#405070';
  const CURRENT_BAND = '#d6e2f0';
  // Narrow charts are a phone's, read at arm's length: their text is larger.
  const NARROW = 500;
  let TITLE_FONT = '';
  let LABEL_FONT = '';
  function chooseFonts(width) {
    const narrow = width < NARROW;
    TITLE_FONT = `bold ${narrow ? 15 : 13}px Arial, "Liberation Sans", sans-serif`;
    LABEL_FONT = `${narrow ? 14 : 12}px Arial, "Liberation Sans", sans-serif`;
  }

  const hex = (rgb) => '#' + rgb.toString(16).padStart(6, '0');

  function mark(ctx, x, y, pending, colour) {
    ctx.beginPath();
    ctx.moveTo(x, y);
    ctx.lineTo(x - MARK_SIZE, y + 2 * MARK_SIZE - 1);
    ctx.lineTo(x + MARK_SIZE, y + 2 * MARK_SIZE - 1);
    ctx.closePath();
    ctx.fillStyle = pending ? '#fff' : colour;
    ctx.fill();
    ctx.lineWidth = 1.2;
    ctx.strokeStyle = colour;
    ctx.stroke();
  }

  // Lays out (and with `paint` draws) the legend's entries in rows; returns their bottom.
  function legend(ctx, chart, width, paint) {
    let y = MARGIN + TITLE_HEIGHT;
    if (!chart.seriesLegend && !chart.headlineLegend) return y;
    const markColour = hex(chart.headlineColour);
    let x = MARGIN;
    y += 2;
    ctx.font = LABEL_FONT;
    const entry = (name, sample) => {
      const entryWidth = SWATCH + 5 + ctx.measureText(name).width;
      if (x > MARGIN && x + entryWidth > width - MARGIN) {
        x = MARGIN;
        y += LEGEND_ROW;
      }
      if (paint) {
        sample(x, y + LEGEND_ROW / 2);
        ctx.fillStyle = LABEL;
        ctx.textBaseline = 'middle';
        ctx.textAlign = 'left';
        ctx.fillText(name, x + SWATCH + 5, y + LEGEND_ROW / 2);
      }
      x += entryWidth + LEGEND_GAP;
    };
    if (chart.seriesLegend) {
      for (const series of chart.series) {
        entry(series.name, (sx, sy) => {
          ctx.strokeStyle = hex(series.colour);
          ctx.lineWidth = 3;
          ctx.lineCap = 'round';
          ctx.beginPath();
          ctx.moveTo(sx + 1, sy);
          ctx.lineTo(sx + SWATCH - 1, sy);
          ctx.stroke();
        });
      }
    }
    if (chart.headlineLegend) {
      entry(chart.headlineLegend, (sx, sy) => mark(ctx, sx + SWATCH / 2, sy - MARK_SIZE, false, markColour));
      entry(chart.pendingLegend, (sx, sy) => mark(ctx, sx + SWATCH / 2, sy - MARK_SIZE, true, markColour));
    }
    return y + LEGEND_ROW;
  }

  // Paints `chart` on `canvas` at `width` × `height` CSS pixels, sharp on any screen.
  function draw(canvas, chart, width, height) {
    chooseFonts(width);
    const ratio = window.devicePixelRatio || 1;
    canvas.width = Math.round(width * ratio);
    canvas.height = Math.round(height * ratio);
    canvas.style.width = width + 'px';
    canvas.style.height = height + 'px';
    const ctx = canvas.getContext('2d');
    ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
    ctx.fillStyle = '#fff';
    ctx.fillRect(0, 0, width, height);
    ctx.strokeStyle = GRID;
    ctx.lineWidth = 1;
    ctx.strokeRect(0.5, 0.5, width - 1, height - 1);

    ctx.font = TITLE_FONT;
    ctx.fillStyle = '#000';
    ctx.textBaseline = 'middle';
    ctx.textAlign = 'left';
    ctx.fillText(chart.title, MARGIN, MARGIN + TITLE_HEIGHT / 2);
    const legendBottom = legend(ctx, chart, width, true);

    ctx.font = LABEL_FONT;
    let labelWidth = 0;
    for (const label of chart.valueLabels) labelWidth = Math.max(labelWidth, ctx.measureText(label.label).width);
    const plot = { left: Math.ceil(MARGIN + labelWidth + 8), top: legendBottom + 10 };
    plot.right = width - RIGHT_MARGIN;
    plot.bottom = Math.max(plot.top + 1, height - MARGIN - MARK_STRIP - YEAR_LABELS);
    plot.width = plot.right - plot.left;
    plot.height = plot.bottom - plot.top;
    const px = (x) => plot.left + x * plot.width;
    const py = (y) => plot.bottom - y * plot.height;
    const crisp = (v) => Math.floor(v) + 0.5;
    const line = (x1, y1, x2, y2, colour) => {
      ctx.strokeStyle = colour;
      ctx.lineWidth = 1;
      ctx.beginPath();
      ctx.moveTo(x1, y1);
      ctx.lineTo(x2, y2);
      ctx.stroke();
    };

    let band = null;
    if (chart.hasCurrent) {
      band = { left: Math.round(px(chart.currentFrom)), right: Math.round(px(chart.currentTo)) };
      ctx.fillStyle = CURRENT_BAND;
      ctx.fillRect(band.left, plot.top, band.right - band.left, plot.height);
    }

    // Amounts across (one too close to the one below is not named), years down.
    ctx.textBaseline = 'middle';
    let lastNamed = plot.bottom + 100;
    for (const label of chart.valueLabels) {
      const y = crisp(py(label.at));
      line(plot.left, y, plot.right, y, GRID);
      if (lastNamed - y < 14) continue;
      lastNamed = y;
      ctx.fillStyle = LABEL;
      ctx.textAlign = 'right';
      ctx.fillText(label.label, plot.left - 8, y);
    }
    for (const start of chart.yearStarts) {
      const x = crisp(px(start));
      line(x, plot.top, x, plot.bottom, GRID);
      line(x, plot.bottom, x, plot.bottom + 4, AXIS);
    }
    ctx.fillStyle = LABEL;
    ctx.textAlign = 'center';
    // On a narrow chart every other year is named.
    const step = chart.yearLabels.length > 1 && px(chart.yearLabels[1].at) - px(chart.yearLabels[0].at) < 34 ? 2 : 1;
    chart.yearLabels.forEach((year, i) => {
      if (i % step === 0) ctx.fillText(year.label, px(year.at), plot.bottom + MARK_STRIP + YEAR_LABELS / 2);
    });
    line(crisp(plot.left), plot.top, crisp(plot.left), plot.bottom + 0.5, AXIS);
    line(plot.left, crisp(plot.bottom), plot.right, crisp(plot.bottom), AXIS);

    // Levels, named at the end away from the month in progress.
    const levelLeft = chart.hasCurrent && chart.currentFrom > 0.5;
    for (const level of chart.levels) {
      const y = Math.floor(py(level.at));
      ctx.strokeStyle = hex(level.colour);
      ctx.lineWidth = 2;
      ctx.setLineDash([4, 2]);
      ctx.beginPath();
      ctx.moveTo(plot.left, y);
      ctx.lineTo(plot.right, y);
      ctx.stroke();
      ctx.setLineDash([]);
      ctx.fillStyle = hex(level.colour);
      ctx.textBaseline = 'bottom';
      ctx.textAlign = levelLeft ? 'left' : 'right';
      ctx.fillText(level.label, levelLeft ? plot.left + 6 : plot.right - 6, y - 2);
    }

    // The month in progress, named beside its slot at the height the window logic found free
    // of lines.
    if (band) {
      const labelWidthNow = ctx.measureText(chart.currentLabel).width + 4;
      const leftSide = band.right + 4 + labelWidthNow > plot.right;
      const top = Math.min(Math.max(py(chart.currentLabelAt) - 8, plot.top + 1), plot.bottom - 16);
      ctx.fillStyle = CURRENT;
      ctx.textBaseline = 'middle';
      ctx.textAlign = 'center';
      const left = leftSide ? band.left - 4 - labelWidthNow : band.right + 4;
      ctx.fillText(chart.currentLabel, left + labelWidthNow / 2, top + 8);
    }

    // The series: step lines two pixels wide.
    let anyPoint = false;
    ctx.save();
    ctx.beginPath();
    ctx.rect(plot.left - 2, plot.top - 2, plot.width + 5, plot.height + 5);
    ctx.clip();
    for (const series of chart.series) {
      const points = series.points;
      if (points.length < 2) continue;
      anyPoint = true;
      ctx.strokeStyle = hex(series.colour);
      ctx.lineWidth = 2;
      ctx.lineCap = 'square';
      ctx.lineJoin = 'miter';
      ctx.beginPath();
      for (let i = 0; i < points.length; i += 2) {
        const x = Math.round(px(points[i]));
        const y = Math.round(py(points[i + 1]));
        if (i === 0) ctx.moveTo(x, y);
        else ctx.lineTo(x, y);
      }
      ctx.stroke();
    }
    ctx.restore();

    const markColour = hex(chart.headlineColour);
    for (const headline of chart.headlines) mark(ctx, px(headline.at), plot.bottom + 2.5, headline.pending, markColour);

    if (!anyPoint && chart.emptyText) {
      ctx.fillStyle = LABEL;
      ctx.font = 'italic ' + LABEL_FONT;
      ctx.textAlign = 'center';
      ctx.textBaseline = 'middle';
      ctx.fillText(chart.emptyText, plot.left + plot.width / 2, plot.top + plot.height / 2);
    }
    return plot;
  }

  return { draw };
})();
