// Placeholder; the simulated sensor replaces it.
int main() { return 0; }
