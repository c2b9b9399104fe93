// The pass mark of an assignment's package for an LMS, as the teacher types it.
// Imports nothing.

// The pass mark typed as a percentage ('' for none) as a share from 0 to 1,
// null for none; undefined for what is no percentage.
export function passShare(text) {
  const typed = String(text).trim();
  if (typed === '') return null;
  return /^\d+(\.\d+)?$/.test(typed) && Number(typed) <= 100 ? Number(typed) / 100 : undefined;
}
