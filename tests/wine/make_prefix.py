"""Makes the end-to-end tests' own throwaway Wine prefix anew."""

from winebox import WineBox

if __name__ == "__main__":
    WineBox().create()
