// SPDX-License-Identifier: GPL-3.0-or-later
// File > Print: the channel list as the core lays out the desktop's printed report, drawn as
// one sheet per page for the browser's print (the print style sheet shows the sheets alone).
// Every text, row, page break and measure is the core's; this file only places them. The
// browser's own Print menu prints the same sheets, drawn anew just before.
import type { ChannelReport, ReportCell } from "./wasm/channel_report";
import type { HalvexDocument, HalvexModule } from "./wasm/halvex";

// The printable width and height of A4 under the print style sheet's margins (Qt's default
// page margins of 10 pt, as the desktop prints), in millimetres.
const PAGE_MARGIN_MM = 3.53;
const SHEET_WIDTH_MM = 210 - 2 * PAGE_MARGIN_MM;
const SHEET_HEIGHT_MM = 297 - 2 * PAGE_MARGIN_MM;
const PX_PER_MM = 96 / 25.4;

export class ReportPrinter {
  private readonly element = document.createElement("div");

  constructor(
    private readonly module: HalvexModule,
    private readonly currentDocument: () => HalvexDocument,
  ) {
    this.element.className = "print-report";
    this.element.setAttribute("aria-hidden", "true");
    document.body.append(this.element);
    window.addEventListener("beforeprint", () => this.draw());
  }

  print(): void {
    this.draw();
    window.print();
  }

  // The sheets for the document as it stands, with the clock read now.
  draw(): void {
    const now = new Date();
    const report = this.module.channelReport(this.currentDocument(), {
      year: now.getFullYear(),
      month: now.getMonth() + 1,
      day: now.getDate(),
      hour: now.getHours(),
      minute: now.getMinutes(),
      weekday: new Intl.DateTimeFormat(document.documentElement.lang || "en", {
        weekday: "long",
      }).format(now),
    });
    this.element.replaceChildren(...report.pages.map((_, index) => sheet(report, index)));
  }
}

// The margins' average character width, measured as the desktop measures it.
function averageCharacterWidth(report: ChannelReport): number {
  const context = document.createElement("canvas").getContext("2d");
  if (!context) {
    return 0;
  }
  context.font = `${report.measuringFontHeight}px "${report.fontFace}", serif`;
  const width = Math.round(context.measureText(report.measuringText).width);
  return Math.floor(width / report.measuringText.length);
}

function placed(className: string, x: number, y: number, width: number, height: number) {
  const box = document.createElement("div");
  box.className = className;
  box.style.left = `${x}px`;
  box.style.top = `${y}px`;
  box.style.width = `${width}px`;
  box.style.height = `${height}px`;
  return box;
}

// A cell of the grid: fixed ones (the headings, the channel numbers) on the button face.
function cellBox(
  x: number,
  y: number,
  width: number,
  height: number,
  cell: ReportCell,
  column: number,
  fixed: boolean,
): HTMLElement {
  const box = placed("report-cell", x, y, width, height);
  box.classList.toggle("fixed", fixed || column === 0 || cell.shaded);
  box.classList.toggle("locked", !fixed && column !== 0 && cell.locked);
  box.classList.toggle("first", column === 0);
  const text = document.createElement("span");
  text.textContent = cell.text;
  box.append(text);
  return box;
}

function sheet(report: ChannelReport, index: number): HTMLElement {
  const margin = report.marginCharacters * averageCharacterWidth(report);
  const tableWidth = report.columns.reduce((sum, column) => sum + column.width, 0);
  const logicalWidth = tableWidth + 2 * margin;
  const scale = (SHEET_WIDTH_MM * PX_PER_MM) / logicalWidth;
  const page = document.createElement("section");
  page.className = "report-page";
  const content = document.createElement("div");
  content.className = "report-content";
  content.style.width = `${logicalWidth}px`;
  content.style.height = `${(SHEET_HEIGHT_MM * PX_PER_MM) / scale}px`;
  content.style.transform = `scale(${scale})`;
  content.style.fontFamily = `"${report.fontFace}", serif`;
  content.style.fontSize = `${report.fontHeight}px`;
  page.append(content);

  const line = (text: string, x: number, y: number) => {
    const box = placed("report-line", margin + x, y, tableWidth - x, report.headingHeight);
    box.textContent = text;
    content.append(box);
  };
  line(report.dateLine, 0, 0);
  let top = report.headingHeight;
  if (index === 0) {
    for (const items of report.functionLines) {
      items.forEach((item, column) => line(item, report.functionColumns[column], top));
      top += report.rowHeight;
    }
  }
  const lefts: number[] = [];
  report.columns.reduce((x, column) => (lefts.push(x), x + column.width), margin);
  report.columns.forEach((column, id) => {
    const box = cellBox(
      lefts[id],
      top,
      column.width,
      report.headingHeight,
      { text: column.heading, locked: false, shaded: false },
      id,
      true,
    );
    box.classList.add("heading");
    box.classList.toggle("wraps", column.wraps);
    content.append(box);
  });
  const sheetPage = report.pages[index];
  sheetPage.rows.forEach((row, rowIndex) => {
    const y = top + sheetPage.firstRowTop + rowIndex * report.rowHeight;
    row.forEach((cell, id) =>
      content.append(
        cellBox(lefts[id], y, report.columns[id].width, report.rowHeight, cell, id, false),
      ),
    );
  });
  return page;
}
