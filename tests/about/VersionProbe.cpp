// Does nothing; exists to carry the version block for the tests.
int main() {
    return 0;
}
