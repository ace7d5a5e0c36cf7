// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report as the core lays it out (HalvexModule.channelReport): every text, row,
// page break and measure of the desktop's printout. Measures are in the logical units of the
// desktop's page, which are square and as wide as the grid's columns and the two margins.

/** The page's local clock; weekday named in the language shown. */
export interface ReportTime {
  year: number;
  month: number;
  day: number;
  hour: number;
  minute: number;
  weekday: string;
}

export interface ReportColumn {
  heading: string;
  /** The heading wraps onto two lines; else it keeps one. */
  wraps: boolean;
  width: number;
}

export interface ReportCell {
  text: string;
  /** Grey text. */
  locked: boolean;
  /** Button-face background. */
  shaded: boolean;
}

export interface ReportPage {
  /** From the headings' top to the first row's top. */
  firstRowTop: number;
  rows: ReportCell[][];
}

export interface ChannelReport {
  /** The line at the top of every page. */
  dateLine: string;
  fontFace: string;
  fontHeight: number;
  /** The margins are marginCharacters average widths of measuringText at this height. */
  measuringFontHeight: number;
  measuringText: string;
  marginCharacters: number;
  headingHeight: number;
  rowHeight: number;
  /** x of each item of a functions line. */
  functionColumns: number[];
  /** The functions section, on page 1 under the date line, one line a row. */
  functionLines: string[][];
  columns: ReportColumn[];
  pages: ReportPage[];
}
