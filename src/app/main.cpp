// Placeholder entry point until the application shell is written.
int main() { return 0; }
