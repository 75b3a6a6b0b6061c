// Keeps the support libraries non-empty while they grow.
